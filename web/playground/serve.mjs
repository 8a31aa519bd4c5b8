// Serves a folder on 127.0.0.1 only, as any static web server would
// (scripts/playground serves the playground with it):
//   node web/playground/serve.mjs FOLDER [PORT]
// Prints the address to open. Files are revalidated on each visit, so the
// browser keeps the compiler between visits and takes a new one at once.
// Only files inside FOLDER are served; a malformed request is answered 400.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const [folder, port = '8400'] = process.argv.slice(2);
const root = path.resolve(folder);
const types = {
  '.html': 'text/html; charset=utf-8', '.mjs': 'text/javascript', '.js': 'text/javascript',
  '.css': 'text/css', '.json': 'application/json', '.wasm': 'application/wasm', '.tar': 'application/x-tar',
  '.png': 'image/png', '.ico': 'image/x-icon', '.webmanifest': 'application/manifest+json',
};

// The file a request names, inside the folder; null for a request that
// names none in a well-formed way (a bad %-escape, a NUL byte).
function file_named(url) {
  let name;
  try {
    name = decodeURIComponent(new URL(url, 'http://localhost').pathname);
  } catch {
    return null;
  }
  if (name.includes('\0')) return null;
  const file = path.join(root, path.normalize(name));
  return file === root || file.startsWith(root + path.sep) ? file : null;
}

function answer(response, code, text) {
  response.writeHead(code, { 'Content-Type': 'text/plain' });
  response.end(`${text}\n`);
}

function serve(request, response) {
  let file = file_named(request.url);
  if (!file) return answer(response, 400, 'bad request');
  if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
  fs.stat(file, (error, info) => {
    if (error || !info.isFile()) return answer(response, 404, 'not found');
    const tag = `"${info.size}-${info.mtimeMs}"`;
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache', ETag: tag };
    if (request.headers['if-none-match'] === tag) {
      response.writeHead(304, headers);
      response.end();
      return;
    }
    response.writeHead(200, { ...headers, 'Content-Length': info.size });
    if (request.method === 'HEAD') response.end();
    else fs.createReadStream(file).on('error', () => response.destroy()).pipe(response);
  });
}

// Whatever one request does wrong, the server goes on serving the others.
const server = http.createServer((request, response) => {
  try {
    serve(request, response);
  } catch {
    if (!response.headersSent) answer(response, 500, 'server error');
    else response.destroy();
  }
});
server.on('clientError', (error, socket) => socket.end('HTTP/1.1 400 Bad Request\r\n\r\n'));
server.listen(Number(port), '127.0.0.1', () => {
  console.log(`playground: open http://127.0.0.1:${server.address().port}/ in a browser (Ctrl+C ends the server)`);
});
