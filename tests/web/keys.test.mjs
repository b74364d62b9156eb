// With access keys required on loopback: no page without a session, the sign-in form exchanges a
// key for a session, and a key for one branch cannot open another branch's service.
import { check, openFirstService, session } from './browser.mjs';

const keys = 'cozinha-0001-aaaaaaaaaaaa read=0001 write=-\ncozinha-0002-bbbbbbbbbbbb read=0002 write=-\n';

async function signIn(page, url, key) {
  await page.goto(url + '/manual', { waitUntil: 'load' });
  check(page.url().endsWith('/manual/entrar'), `sem sessão a página abriu: ${page.url()}`);
  await page.type('#chave', key);
  await Promise.all([page.waitForNavigation({ waitUntil: 'load' }), page.click('button[type=submit]')]);
}

session({ keys, keysOnLoopback: true }, async ({ server, browser }) => {
  const first = await (await browser.createBrowserContext()).newPage();
  const refused = await first.goto(server.url + '/manual/0001', { waitUntil: 'load' });
  check(first.url().endsWith('/manual/entrar') && refused.ok(), `sem sessão: ${first.url()}`);
  await first.type('#chave', 'chave-que-nao-existe-000');
  await Promise.all([first.waitForNavigation(), first.click('button[type=submit]')]);
  check((await first.content()).includes('Chave de acesso desconhecida'), 'chave desconhecida aceita');

  await signIn(first, server.url, 'cozinha-0001-aaaaaaaaaaaa');
  const branches = await first.$$eval('main.choices a', (as) => as.map((a) => a.textContent));
  check(branches.length === 1 && branches[0].startsWith('0001'), `filiais à vista: ${branches}`);
  const service1 = await openFirstService(first, server.url);
  check(await first.$('article.subgroup'), 'o serviço da filial 0001 não abriu');
  const cookies = await first.browserContext().cookies();
  check(cookies.length === 1 && cookies[0].httpOnly && cookies[0].secure && cookies[0].sameSite === 'Strict'
        && !cookies[0].value.includes('cozinha'), `cookie: ${JSON.stringify(cookies)}`);

  const other = await (await browser.createBrowserContext()).newPage();
  await signIn(other, server.url, 'cozinha-0002-bbbbbbbbbbbb');
  const answer = await other.goto(service1, { waitUntil: 'load' });
  check(answer.status() === 403, `a chave da filial 0002 abriu o serviço da 0001: ${answer.status()}`);
  check((await other.content()).includes('não permite ler a filial 0001'), 'mensagem de recusa ausente');
  const photo = await first.$eval('article.subgroup img', (img) => img.dataset.full);
  const photoAnswer = await other.goto(server.url + photo);
  check(photoAnswer.status() === 403, `a foto da 0001 abriu com a chave da 0002: ${photoAnswer.status()}`);
});
