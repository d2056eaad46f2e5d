// What the web page's tests and benchmark share: a static server for a
// build folder on the loopback address, and headless Chromium set up for a
// machine without a network.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// Serves `folder` on a free port of 127.0.0.1; resolves to the server and
// its address.
export async function serveFolder(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (!name.startsWith(root) || !fs.existsSync(name) || !fs.statSync(name).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' });
    fs.createReadStream(name).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, base: `http://127.0.0.1:${server.address().port}` };
}

// Headless Chromium (TARVEL_CHROMIUM, default /usr/bin/chromium) with a
// fresh profile in `profile`. The network is closed here: everything that
// would reach out is off, or the browser stalls.
export function launchChromium(profile, extraArgs = []) {
  return puppeteer.launch({
    executablePath: process.env.TARVEL_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', ...extraArgs],
  });
}
