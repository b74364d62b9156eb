// Instructions whose text, font names and colour table hold markup render as text and run nothing,
// both in the served page and when the automatic display brings the changed sub-group in.
import { execFileSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { check, openFirstService, screenshotPath, session } from './browser.mjs';

const hostile = String.raw`{\rtf1\ansi{\fonttbl{\f0 '"><script>window.__pwned=1</script>;}{\f1 <img src=x onerror="window.__pwned=2">;}}
{\colortbl;\red200\green0\blue0;"><script>window.__pwned=3</script>;}
\f0\cf1 '"><script>window.__pwned=4</script>\par
\f1 <img src=x onerror="window.__pwned=5"> <b onclick="window.__pwned=6">negrito?</b> &lt;i&gt;\par}`;

const allowed = new Set(['P', 'SPAN', 'B', 'I', 'U', 'S', 'SUP', 'SUB', 'BR', 'TABLE', 'COLGROUP', 'COL', 'TBODY',
                         'TR', 'TD', 'UL', 'OL', 'LI']);

async function inspect(page, selector) {
  return page.$eval(selector, (box, allowedTags) => ({
    text: box.innerText,
    strange: Array.from(box.querySelectorAll('*')).map((e) => e.tagName).filter((t) => !allowedTags.includes(t)),
    handlers: Array.from(document.querySelectorAll('*')).flatMap((e) => e.getAttributeNames())
      .filter((n) => n.startsWith('on')),
    pwned: window.__pwned,
  }), [...allowed]);
}

function verify(seen, where) {
  check(seen.pwned === undefined, `${where}: um script rodou (${seen.pwned})`);
  check(seen.strange.length === 0, `${where}: elementos acrescentados: ${seen.strange.join(' ')}`);
  check(seen.handlers.length === 0, `${where}: atributos de evento: ${seen.handlers.join(' ')}`);
  for (const text of [`'"><script>window.__pwned=4</script>`, '<img src=x onerror="window.__pwned=5">',
                      '<b onclick="window.__pwned=6">negrito?</b> &lt;i&gt;'])
    check(seen.text.includes(text), `${where}: o texto não aparece como texto: ${text}\n${seen.text}`);
}

session({}, async ({ server, browser, page }) => {
  let dialogs = 0;
  page.on('dialog', async (d) => { ++dialogs; await d.dismiss(); });
  await openFirstService(page, server.url);
  const { code, espe } = await page.$eval('article.subgroup', (a) => ({
    code: a.dataset.code, espe: (a.querySelector('img') || { src: '' }).src.split('/').at(-2) }));
  check(/^\w+$/.test(code) && /^\w+$/.test(espe), `chave inesperada ${code} ${espe}`);
  const file = join(server.dir, 'hostil.rtf');
  writeFileSync(file, hostile, 'latin1');
  execFileSync('sqlite3', [server.db, `INSERT OR REPLACE INTO FOTOSUBMA (CDPRODUTO, CDESPEPROD, FGFOTOSUMA, CDTIPODOCU)
    VALUES ('${code}', '${espe}', readfile('${file}'), 'INS')`]);

  await page.$eval('#interval', (input) => { input.value = '30'; });
  await page.click('#auto');
  await page.waitForFunction(() => (document.querySelector('article.current .instructions') || {}).innerText
                               ?.includes('<script>'), { timeout: 10000 });
  verify(await inspect(page, 'article.current .instructions'), 'na exibição automática');
  await page.screenshot({ path: screenshotPath('web-hostile-rtf.png') });

  await page.reload({ waitUntil: 'load' });
  verify(await inspect(page, 'article.subgroup .instructions'), 'na página servida');
  check(dialogs === 0, `${dialogs} diálogo(s) abertos por script`);
});
