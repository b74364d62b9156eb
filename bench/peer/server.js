// The peer endpoint the load and round-trip benchmarks compare the application server with: Node.js
// and better-sqlite3 on the same SQLite file, running the SQL the application server runs (written by
// `bench_load --write-peer-sql`), answering in the server's JSON envelope over kept-alive HTTP, dates
// as {"datetime": ...}, bytes as {"base64": ...}. Takes the arguments as a JSON array or, as the
// client sends them, as a CBOR array of texts; answers GET /health as the client's connect expects.
// Loopback only. Usage: node server.js DB.sqlite SQL.txt PORT
'use strict';
const http = require('http');
const fs = require('fs');
const Database = require('better-sqlite3');

const [dbFile, sqlFile, port] = process.argv.slice(2);
const db = new Database(dbFile, { readonly: true });
const [cheapSql, rowsSql, rowsFieldsJson] = fs.readFileSync(sqlFile, 'utf8').trim().split('\n');
const cheap = db.prepare(cheapSql);
const rows = db.prepare(rowsSql).raw(true);
const fieldsOf = (statement) =>
  statement.columns().map((c) => ({ name: c.name, kind: c.name.startsWith('DT') ? 'datetime' : 'text' }));
const cheapFields = fieldsOf(cheap);
// The fields the application server names GetSubGruSeMa's columns with (the SQL file's third line);
// without them, the columns' own names, DT* ones dates.
const rowsFields = rowsFieldsJson ? JSON.parse(rowsFieldsJson) : fieldsOf(rows);
const columnsOf = (kind) => rowsFields.map((f, i) => (f.kind === kind ? i : -1)).filter((i) => i >= 0);
const dateColumns = columnsOf('datetime');
const blobColumns = columnsOf('blob');

function answer(res, status, body) {
  const text = JSON.stringify(body);
  res.writeHead(status, { 'Content-Type': 'application/json', 'Content-Length': Buffer.byteLength(text) });
  res.end(text);
}

// Just what the client sends: a definite-length CBOR array of definite-length text strings.
function cborTexts(bytes) {
  let at = 0;
  const head = (major) => {
    if (at >= bytes.length || bytes[at] >> 5 !== major) throw new Error('unexpected CBOR item');
    const info = bytes[at++] & 0x1f;
    if (info < 24) return info;
    const size = { 24: 1, 25: 2, 26: 4, 27: 8 }[info];
    if (!size || at + size > bytes.length) throw new Error('unsupported CBOR length');
    let length = 0;
    for (let i = 0; i < size; ++i) length = length * 256 + bytes[at++];
    return length;
  };
  const count = head(4);
  const texts = [];
  for (let i = 0; i < count; ++i) {
    const length = head(3);
    if (at + length > bytes.length) throw new Error('truncated CBOR text');
    texts.push(bytes.toString('utf8', at, at + length));
    at += length;
  }
  if (at !== bytes.length) throw new Error('trailing bytes after the CBOR array');
  return texts;
}

function argumentsOf(req, body) {
  if ((req.headers['content-type'] || '').startsWith('application/cbor')) return cborTexts(body);
  const args = JSON.parse(body.toString('utf8'));
  if (!Array.isArray(args)) throw new Error('not an array');
  return args;
}

function call(method, args) {
  if (method === 'GetParametros')
    return { fields: cheapFields, rows: cheap.raw(true).all(args[0]) };
  if (method === 'GetSubGruSeMa') {
    const key = args[3];
    const found = rows.all(args[0], args[1], args[2], key.slice(0, -8), key.slice(-8, -4), key.slice(-4));
    for (const row of found) {
      for (const i of dateColumns) if (row[i] !== null) row[i] = { datetime: row[i] };
      for (const i of blobColumns) if (row[i] !== null) row[i] = { base64: row[i].toString('base64') };
    }
    return { fields: rowsFields, rows: found };
  }
  return null;
}

const server = http.createServer({ keepAliveTimeout: 60000 }, (req, res) => {
  if (req.method === 'GET') {
    req.resume();
    if (req.url === '/health') return answer(res, 200, { ok: true });
    return answer(res, 404, { ok: false, error: 'Não encontrado.' });
  }
  const chunks = [];
  req.on('data', (c) => chunks.push(c));
  req.on('end', () => {
    const method = req.url.split('/').pop();
    let args;
    try {
      args = argumentsOf(req, Buffer.concat(chunks));
    } catch (e) {
      return answer(res, 400, { ok: false, error: 'Corpo inválido.' });
    }
    const result = call(method, args);
    if (!result) return answer(res, 404, { ok: false, error: `Método desconhecido: ${method}.` });
    answer(res, 200, { ok: true, result });
  });
});
// Port 0 takes a free port; the line below names the one taken.
server.listen(Number(port), '127.0.0.1', () =>
  console.error(`peer: serving on http://127.0.0.1:${server.address().port}`));
process.on('SIGTERM', () => server.close(() => process.exit(0)));
