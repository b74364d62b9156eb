// What the browser tests share: the application server started as a program on a fresh demo
// database (free port, optional access keys), and Debian's chromium driven by puppeteer-core.
// Without a browser a test is skipped (exit 77), except under CI, where it fails.
import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, mkdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const chromium = process.env.QMV_CHROMIUM || '/usr/bin/chromium';
export const SKIP = 77;

async function loadPuppeteer() {
  const missing = (what) => {
    const message = `sem ${what}: instale com scripts/deps.sh`;
    if (process.env.CI === 'true') throw new Error(message);
    console.log(`SKIP: ${message}`);
    process.exit(SKIP);
  };
  if (!existsSync(chromium)) missing(chromium);
  try {
    return (await import('puppeteer-core')).default;
  } catch {
    return missing('puppeteer-core (npm ci em tests/web)');
  }
}

// Starts `appserver` on a new demo database; resolves to { url, dir, db, stop }.
async function startServer(program, { keys = null, keysOnLoopback = false } = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'qmv-web-'));
  const db = join(dir, 'demo.sqlite');
  const args = ['--db', db, '--init-demo', '--port', '0', '--threads', '4'];
  if (keys) {
    writeFileSync(join(dir, 'keys'), keys);
    args.push('--access-keys', join(dir, 'keys'));
  }
  if (keysOnLoopback) args.push('--web-keys-on-loopback');
  const child = spawn(program, args, { stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '';
  const port = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('o servidor não respondeu:\n' + log)), 60000);
    child.stderr.on('data', (chunk) => {
      log += chunk;
      const m = /serving .* on http:\/\/127\.0\.0\.1:(\d+)/.exec(log);
      if (m) { clearTimeout(timer); resolve(Number(m[1])); }
    });
    child.on('exit', (code) => reject(new Error(`o servidor terminou (${code}):\n${log}`)));
  });
  return {
    url: `http://localhost:${port}`,
    dir, db,
    stop() { child.kill('SIGTERM'); rmSync(dir, { recursive: true, force: true }); },
  };
}

async function launch(puppeteer) {
  const profile = mkdtempSync(join(tmpdir(), 'qmv-chromium-'));
  const args = ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
                '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage', `--user-data-dir=${profile}`];
  if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
  const browser = await puppeteer.launch({ executablePath: chromium, headless: true, args });
  const close = browser.close.bind(browser);
  browser.close = async () => { await close(); rmSync(profile, { recursive: true, force: true }); };
  return browser;
}

export function screenshotPath(name) {
  const dir = join(process.env.QMV_SOURCE_DIR || '.', 'screenshots');
  mkdirSync(dir, { recursive: true });
  return join(dir, name);
}

export function check(condition, message) {
  if (!condition) throw new Error(message);
}

// Follows the first link of each choice list from /manual down to a service page.
export async function openFirstService(page, url) {
  await page.goto(url + '/manual', { waitUntil: 'load' });
  for (let level = 0; level < 4; ++level) {
    const link = await page.$('main.choices a');
    check(link, `nenhuma escolha no nível ${level} (${page.url()})`);
    await Promise.all([page.waitForNavigation({ waitUntil: 'load' }), link.click()]);
  }
  return page.url();
}

// Starts the server (with `options`) and the browser, runs `body({ server, browser, page })` with a
// 1280x800 page, stops both, and exits 0, or prints the failure and exits 1.
export async function session(options, body) {
  let server, browser;
  try {
    const puppeteer = await loadPuppeteer();
    server = await startServer(process.argv[2], options);
    browser = await launch(puppeteer);
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800 });
    await body({ server, browser, page });
    console.log('ok');
    process.exitCode = 0;
  } catch (error) {
    console.error(error.stack || String(error));
    process.exitCode = 1;
  } finally {
    if (browser) await browser.close();
    if (server) server.stop();
  }
  process.exit(process.exitCode);
}
