// The demo service's page in a real browser: its sub-groups in classification order, every photo
// loaded, instructions shown; the automatic display advances; screenshots at 1280x800 and on a
// 10-inch tablet in portrait and landscape.
import { check, openFirstService, screenshotPath, session } from './browser.mjs';

session({}, async ({ server, browser, page }) => {
  await openFirstService(page, server.url);
  const shown = await page.evaluate(async () => {
    const imgs = Array.from(document.querySelectorAll('article.subgroup img'));
    await Promise.all(imgs.map((img) => img.complete ? null : new Promise((r) => { img.onload = img.onerror = r; })));
    const codeOf = (a) => {
      const dt = Array.from(a.querySelectorAll('.facts dt')).find((d) => d.textContent === 'Código');
      return dt ? dt.nextElementSibling.textContent : '';
    };
    const articles = Array.from(document.querySelectorAll('article.subgroup'));
    return {
      codes: articles.map(codeOf),
      photos: imgs.length,
      broken: imgs.filter((img) => !(img.naturalWidth > 0)).map((img) => img.src),
      instructions: Array.from(document.querySelectorAll('.instructions')).map((d) => d.innerText.trim()),
    };
  });
  check(shown.codes.length > 1, `poucos sub-grupos: ${shown.codes.length}`);
  const sorted = [...shown.codes].sort();
  check(JSON.stringify(shown.codes) === JSON.stringify(sorted), `fora de ordem: ${shown.codes.join(' ')}`);
  check(shown.photos > 0 && shown.broken.length === 0, `fotos não carregadas: ${shown.broken.join(' ')}`);
  check(shown.instructions.some((t) => t.includes('Montagem')), 'nenhuma instrução de montagem à vista');
  await page.screenshot({ path: screenshotPath('web-service-1280x800.png') });

  await page.$eval('#interval', (input) => { input.value = '1'; });
  await page.click('#auto');
  const first = await page.$eval('#position', (p) => p.textContent);
  await page.waitForFunction((before) => document.getElementById('position').textContent !== before,
                             { timeout: 5000 }, first);
  const after = await page.$eval('article.subgroup.current', (a) => a.dataset.code);
  check(first.startsWith('1 de ') && after, `a exibição automática não avançou (${first})`);
  await page.click('#pause');
  await page.keyboard.press('ArrowRight');
  const keyed = await page.$eval('#position', (p) => p.textContent);
  check(keyed.startsWith('3 de '), `a seta não avançou: ${keyed}`);
  await new Promise((r) => setTimeout(r, 500));
  await page.screenshot({ path: screenshotPath('web-auto-1280x800.png') });

  for (const [name, width, height] of [['portrait', 800, 1280], ['landscape', 1280, 800]]) {
    const tablet = await browser.newPage();
    await tablet.setViewport({ width, height, isMobile: true, hasTouch: true, deviceScaleFactor: 1 });
    await tablet.goto(page.url(), { waitUntil: 'load' });
    const overflow = await tablet.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    check(overflow <= 0, `a página passa da largura do tablet (${name}): ${overflow}px`);
    await tablet.screenshot({ path: screenshotPath(`web-service-tablet-${name}.png`) });
    await tablet.click('#auto');
    await tablet.click('#pause');
    await new Promise((r) => setTimeout(r, 500));
    await tablet.screenshot({ path: screenshotPath(`web-auto-tablet-${name}.png`) });
  }
});
