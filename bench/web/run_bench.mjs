// Serves a build folder and runs its tarvel_bench.html in headless Chromium,
// printing the bench's report: node run_bench.mjs FOLDER RUNS
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchChromium, serveFolder } from './browser.mjs';

const folder = process.argv[2];
const runs = process.argv[3] || '3';
const { server, base } = await serveFolder(folder);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvel-bench-'));
const browser = await launchChromium(profile);
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
  await page.goto(`${base}/tarvel_bench.html?runs=${runs}`);
  await done;
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
