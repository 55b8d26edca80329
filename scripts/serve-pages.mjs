// A small HTTP server on 127.0.0.1 for the bundled generator page and the test pages.
//   node scripts/serve-pages.mjs ROOT [PORT] [REPORT_DIR]
// Serves the files under ROOT. Prints "port N" once it listens (PORT 0 or none: any free port).
// With REPORT_DIR, a POST to /report/NAME stores its body as REPORT_DIR/NAME, so that a page can
// hand results to whoever drives it. Ends on SIGTERM or SIGINT.
import { createServer } from 'node:http';
import { createReadStream, promises as fs } from 'node:fs';
import path from 'node:path';

const [root, port = '0', reportDir] = process.argv.slice(2);
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
                '.png': 'image/png', '.json': 'application/json' };

const server = createServer(async (req, res) => {
  const url = new URL(req.url, 'http://localhost');
  if (req.method === 'POST' && url.pathname.startsWith('/report/') && reportDir) {
    const name = url.pathname.slice('/report/'.length);
    if (!/^[\w.-]+$/.test(name)) { res.writeHead(400).end(); return; }
    const chunks = [];
    for await (const chunk of req) chunks.push(chunk);
    await fs.writeFile(path.join(reportDir, name + '.tmp'), Buffer.concat(chunks));
    await fs.rename(path.join(reportDir, name + '.tmp'), path.join(reportDir, name));
    res.writeHead(204).end();
    return;
  }
  const file = path.join(root, path.normalize(decodeURIComponent(url.pathname)).replace(/^(\.\.[\/\\])+/, ''));
  const target = file.endsWith(path.sep) ? path.join(file, 'index.html') : file;
  try {
    const stat = await fs.stat(target);
    if (!stat.isFile()) throw new Error('not a file');
    res.writeHead(200, { 'Content-Type': types[path.extname(target)] || 'application/octet-stream',
                         'Content-Length': stat.size, 'Cache-Control': 'no-store' });
    createReadStream(target).pipe(res);
  } catch {
    res.writeHead(404).end('not found');
  }
});

server.listen(Number(port), '127.0.0.1', () => console.log(`port ${server.address().port}`));
const stop = () => server.close(() => process.exit(0)) || setTimeout(() => process.exit(0), 500);
process.on('SIGTERM', stop);
process.on('SIGINT', stop);
