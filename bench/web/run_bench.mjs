// Serves a build folder and runs its tarvel_bench.html in headless Chromium,
// printing the bench's report: node run_bench.mjs FOLDER RUNS
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const folder = path.resolve(process.argv[2]);
const runs = process.argv[3] || '3';
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = http.createServer((request, response) => {
  const name = path.join(folder, new URL(request.url, 'http://x').pathname);
  if (!name.startsWith(folder) || !fs.existsSync(name) || !fs.statSync(name).isFile()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' });
  fs.createReadStream(name).pipe(response);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvel-bench-'));
const browser = await puppeteer.launch({
  executablePath: process.env.TARVEL_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage();
  const done = new Promise((resolve, reject) => {
    page.on('console', (message) => {
      const text = message.text();
      if (text === 'bench done') resolve();
      else if (message.type() === 'log') console.log(text);
    });
    page.on('pageerror', reject);
  });
  await page.goto(`http://127.0.0.1:${server.address().port}/tarvel_bench.html?runs=${runs}`);
  await done;
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
