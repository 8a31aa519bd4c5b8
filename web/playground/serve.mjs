// Serves a folder on 127.0.0.1 only, as any static web server would
// (scripts/playground serves the playground with it):
//   node web/playground/serve.mjs FOLDER [PORT]
// Prints the address to open. Files are revalidated on each visit, so the
// browser keeps the compiler between visits and takes a new one at once.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const [folder, port = '8400'] = process.argv.slice(2);
const root = path.resolve(folder);
const types = {
  '.html': 'text/html; charset=utf-8', '.mjs': 'text/javascript', '.js': 'text/javascript',
  '.css': 'text/css', '.json': 'application/json', '.wasm': 'application/wasm', '.tar': 'application/x-tar',
  '.png': 'image/png', '.ico': 'image/x-icon',
};

const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  let file = path.join(root, path.normalize(name));
  if (!file.startsWith(root)) file = root;
  if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
  fs.stat(file, (error, info) => {
    if (error || !info.isFile()) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found\n');
      return;
    }
    const tag = `"${info.size}-${info.mtimeMs}"`;
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache', ETag: tag };
    if (request.headers['if-none-match'] === tag) {
      response.writeHead(304, headers);
      response.end();
      return;
    }
    response.writeHead(200, { ...headers, 'Content-Length': info.size });
    if (request.method === 'HEAD') response.end();
    else fs.createReadStream(file).pipe(response);
  });
});
server.listen(Number(port), '127.0.0.1', () => {
  console.log(`playground: open http://127.0.0.1:${server.address().port}/ in a browser (Ctrl+C ends the server)`);
});
