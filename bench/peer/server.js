// The peer endpoint the load benchmark compares the application server with: Node.js and
// better-sqlite3 on the same SQLite file, running the SQL the application server runs (written by
// `bench_load --write-peer-sql`), answering in the server's JSON envelope over kept-alive HTTP.
// Loopback only. Usage: node server.js DB.sqlite SQL.txt PORT
'use strict';
const http = require('http');
const fs = require('fs');
const Database = require('better-sqlite3');

const [dbFile, sqlFile, port] = process.argv.slice(2);
const db = new Database(dbFile, { readonly: true });
const [cheapSql, rowsSql] = fs.readFileSync(sqlFile, 'utf8').trim().split('\n');
const cheap = db.prepare(cheapSql);
const rows = db.prepare(rowsSql).raw(true);
const fieldsOf = (statement) => statement.columns().map((c) => ({ name: c.name, kind: 'text' }));
const cheapFields = fieldsOf(cheap);
const rowsFields = fieldsOf(rows);
const dateColumns = rowsFields.map((f, i) => (f.name.startsWith('DT') ? i : -1)).filter((i) => i >= 0);

function answer(res, status, body) {
  const text = JSON.stringify(body);
  res.writeHead(status, { 'Content-Type': 'application/json', 'Content-Length': Buffer.byteLength(text) });
  res.end(text);
}

function call(method, args) {
  if (method === 'GetParametros')
    return { fields: cheapFields, rows: cheap.raw(true).all(args[0]) };
  if (method === 'GetSubGruSeMa') {
    const key = args[3];
    const found = rows.all(args[0], args[1], args[2], key.slice(0, -8), key.slice(-8, -4), key.slice(-4));
    for (const row of found)
      for (const i of dateColumns)
        if (row[i] !== null) row[i] = { datetime: row[i] };
    return { fields: rowsFields, rows: found };
  }
  return null;
}

const server = http.createServer({ keepAliveTimeout: 60000 }, (req, res) => {
  const chunks = [];
  req.on('data', (c) => chunks.push(c));
  req.on('end', () => {
    const method = req.url.split('/').pop();
    let args;
    try {
      args = JSON.parse(Buffer.concat(chunks).toString('utf8'));
    } catch (e) {
      return answer(res, 400, { ok: false, error: 'Corpo inválido.' });
    }
    const result = call(method, args);
    if (!result) return answer(res, 404, { ok: false, error: `Método desconhecido: ${method}.` });
    answer(res, 200, { ok: true, result });
  });
});
server.listen(Number(port), '127.0.0.1', () => console.error(`peer: serving on http://127.0.0.1:${port}`));
process.on('SIGTERM', () => server.close(() => process.exit(0)));
