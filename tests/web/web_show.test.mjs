// The show's web page in headless Chromium, driven with puppeteer-core:
// start, pixels against tarvel-capture, the clock against the audio, Escape
// and watching again, the fatal box, a folder without the soundtrack. Run by
// scripts/test_web.sh, which builds the page and the content folders below
// TARVEL_WEB_ROOT (served here) and names the tools in the environment:
//   TARVEL_WEB_ROOT   folder with tarvel.html and its content package;
//                     test/missing-picture and test/no-soundtrack beside it
//   TARVEL_CONTENT    the content folder packed into the root's page
//   TARVEL_CAPTURE    tarvel-capture
//   TARVEL_CHROMIUM   the browser (default /usr/bin/chromium)
//   TARVEL_WEB_WORK   a folder for the tests' files
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { promisify } from 'node:util';
import { launchChromium, serveFolder } from './browser.mjs';

const root = process.env.TARVEL_WEB_ROOT;
const content = process.env.TARVEL_CONTENT;
const capture = process.env.TARVEL_CAPTURE;
const work = process.env.TARVEL_WEB_WORK;

const Width = 800, Height = 600;
// The frame compared with tarvel-capture: the first drawn at this clock or later.
const CompareClock = 250;

let server, base, browser;

// ------------------------------------------------------------------ set-up

before(async () => {
  for (const [name, value] of Object.entries({ TARVEL_WEB_ROOT: root, TARVEL_CONTENT: content,
    TARVEL_CAPTURE: capture, TARVEL_WEB_WORK: work })) {
    assert.ok(value, `${name} must be set`);
  }
  ({ server, base } = await serveFolder(root));
  browser = await launchChromium(fs.mkdtempSync(path.join(work, 'profile-')), ['--autoplay-policy=no-user-gesture-required']);
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
});

// Every presented frame's number and clock, when it was presented and the
// audio context's time then, and the canvas's pixels (base64 RGBA) of the
// first frame drawn at `grabAt` or later, taken as it is presented.
function watchFrames() {
  const T = (window.__tarvel = { frames: [], grabAt: null, grab: null, clickAt: null });
  document.addEventListener('DOMContentLoaded', () => {
    const canvas = document.getElementById('screen');
    document.getElementById('play').addEventListener('click', () => { T.clickAt = performance.now(); }, true);
    canvas.addEventListener('tarvel-frame', (event) => {
      const { frame, clock } = event.detail;
      const audio = window.Module.audioContext;
      T.frames.push({ frame, clock, at: performance.now(), audio: audio ? audio.currentTime : 0 });
      if (T.grabAt === null || T.grab || clock < T.grabAt) return;
      const data = canvas.getContext('2d').getImageData(0, 0, 800, 600).data;
      let bytes = '';
      for (let i = 0; i < data.length; i += 0x8000) bytes += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
      T.grab = { frame, clock, rgba: btoa(bytes) };
    });
  });
}

async function openShow(folder) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.errors = errors;
  await page.evaluateOnNewDocument(watchFrames);
  await page.goto(`${base}/${folder}tarvel.html?log`);
  await page.waitForSelector('body[data-state="ready"]', { timeout: 120000 }).catch((error) => {
    assert.fail(`${folder}tarvel.html did not get ready (${error.message}); page errors: ${errors.join('; ') || 'none'}`);
  });
  return page;
}

const state = (page) => page.evaluate(() => document.body.dataset.state);
const frames = (page) => page.evaluate(() => window.__tarvel.frames);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until `check(frames)` holds, polling; fails after `seconds`.
async function waitForFrames(page, seconds, what, check) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const seen = await frames(page);
    if (check(seen)) return seen;
    if (Date.now() > end) {
      const last = seen.slice(-3).map((f) => `${f.frame}@${f.clock}`).join(' ');
      assert.fail(`${what} within ${seconds} s (${seen.length} frames, last ${last || 'none'}; state ${await state(page)})`);
    }
    await sleep(200);
  }
}

// The clocks the capture tool is given, one a line.
function clockList(list) {
  const file = path.join(work, `clocks-${process.pid}-${Date.now()}.txt`);
  fs.writeFileSync(file, list.join('\n') + '\n');
  return file;
}

// tarvel-capture's last frame of `clocks`, drawn from a fresh start: the
// same frames in the same order as the page drew them, so that every
// Random call matches too. 800x600 little-endian 0x00RRGGBB.
async function captureFrame(clocks) {
  const out = fs.mkdtempSync(path.join(work, 'capture-'));
  try {
    await promisify(execFile)(capture, ['frames', '--content', content, '--clocks', `@${clockList(clocks)}`,
      '--out', out, '--raw'], { maxBuffer: 1 << 20 });
    const last = String(clocks.length - 1).padStart(5, '0');
    return fs.readFileSync(path.join(out, `frame_${last}.rgb32`));
  } finally {
    fs.rmSync(out, { recursive: true, force: true });
  }
}

// -------------------------------------------------------------------- show

test('the show: start, pixels, clock and audio, Escape, watching again', async (t) => {
  const page = await openShow('');
  await page.evaluate((clock) => { window.__tarvel.grabAt = clock; }, CompareClock);
  await page.click('#play');

  await t.test('the page starts the show on Play', async () => {
    const seen = await waitForFrames(page, 60, 'no first frame', (f) => f.length > 0);
    assert.equal(seen[0].frame, 1);
    assert.equal(seen[0].clock, 0);
    assert.equal(await state(page), 'playing');
    const clickAt = await page.evaluate(() => window.__tarvel.clickAt);
    t.diagnostic(`click to first frame: ${(seen[0].at - clickAt).toFixed(1)} ms`);
  });

  await t.test(`the canvas holds tarvel-capture's pixels for the first frame at clock ${CompareClock} or later`, async () => {
    await waitForFrames(page, 60, `no frame at clock ${CompareClock}`, (f) => f.some((x) => x.clock >= CompareClock));
    const grab = await page.evaluate(() => window.__tarvel.grab);
    assert.ok(grab, 'no pixels were taken');
    const drawn = (await frames(page)).filter((f) => f.frame <= grab.frame).map((f) => f.clock);
    assert.equal(drawn.length, grab.frame, 'every frame up to the compared one was logged');
    const reference = await captureFrame(drawn);
    const canvas = Buffer.from(grab.rgba, 'base64');
    assert.equal(canvas.length, Width * Height * 4);
    let differing = 0, first = -1;
    for (let p = 0; p < Width * Height; p++) {
      const r = reference[4 * p + 2], g = reference[4 * p + 1], b = reference[4 * p];
      if (canvas[4 * p] !== r || canvas[4 * p + 1] !== g || canvas[4 * p + 2] !== b || canvas[4 * p + 3] !== 255) {
        if (first < 0) first = p;
        differing++;
      }
    }
    if (differing) {
      fs.writeFileSync(path.join(work, 'canvas.rgba'), canvas);
      fs.writeFileSync(path.join(work, 'reference.rgb32'), reference);
    }
    assert.equal(differing, 0, `frame ${grab.frame} at clock ${grab.clock}: ${differing} pixels differ, the first ` +
      `at (${first % Width}, ${Math.floor(first / Width)}); both kept in ${work}`);
  });

  await t.test('the clock follows the audio context, at one hundredth per hundredth of a second', async () => {
    // From the first frame drawn at a clock above 0, over 4 s of frames.
    const seen = await waitForFrames(page, 60, 'no 4 s of rising clock', (f) => {
      const start = f.find((x) => x.clock > 0);
      return start && f[f.length - 1].at - start.at > 4000;
    });
    const start = seen.find((x) => x.clock > 0), end = seen[seen.length - 1];
    const clickAt = await page.evaluate(() => window.__tarvel.clickAt);
    t.diagnostic(`click to the first frame past clock 0 (the soundtrack decoded and playing): ${(start.at - clickAt).toFixed(0)} ms`);
    const clockSeconds = (end.clock - start.clock) / 100, audioSeconds = end.audio - start.audio;
    const wallSeconds = (end.at - start.at) / 1000;
    t.diagnostic(`clock ${clockSeconds.toFixed(2)} s, audio ${audioSeconds.toFixed(2)} s, wall ${wallSeconds.toFixed(2)} s`);
    assert.ok(Math.abs(clockSeconds - audioSeconds) < 0.1, `the clock moved ${clockSeconds} s, the audio ${audioSeconds} s`);
    for (let i = 1; i < seen.length; i++) assert.ok(seen[i].clock >= seen[i - 1].clock, 'the clock never goes back');
  });

  await t.test('frames per second and CPU (reported)', async () => {
    const pid = browser.process().pid;
    const cpu0 = processTreeCpuSeconds(pid), count0 = (await frames(page)).length, t0 = Date.now();
    await sleep(10000);
    const cpu1 = processTreeCpuSeconds(pid), count1 = (await frames(page)).length, t1 = Date.now();
    const seconds = (t1 - t0) / 1000;
    t.diagnostic(`${((count1 - count0) / seconds).toFixed(1)} frames per second; browser CPU ` +
      `${(100 * (cpu1 - cpu0) / seconds).toFixed(0)}% of one core over ${seconds.toFixed(1)} s`);
    assert.ok(count1 > count0, 'frames kept coming');
  });

  await t.test('Escape ends the show: the sound stops and the page offers to watch again', async () => {
    await page.keyboard.press('Escape');
    await page.waitForSelector('body[data-state="ended"]', { timeout: 30000 });
    assert.equal(await page.$eval('#play', (b) => b.hidden), false);
    const count = (await frames(page)).length;
    await sleep(500);
    assert.equal((await frames(page)).length, count, 'no frame after the end');
    assert.equal(await page.evaluate(() => window.Module.audioContext.state), 'suspended');
  });

  await t.test('playing again restarts the show from its first frame at clock 0', async () => {
    await page.evaluate(() => { window.__tarvel.frames = []; });
    await page.click('#play');
    const seen = await waitForFrames(page, 60, 'no rising clock after playing again', (f) => f.some((x) => x.clock > 100));
    assert.deepEqual([seen[0].frame, seen[0].clock], [1, 0]);
    assert.equal(await page.evaluate(() => window.Module.audioContext.state), 'running');
  });

  assert.deepEqual(page.errors, []);
  await page.close();
});

// ------------------------------------------------------------------- fatal

test('a missing picture stops the show with the loader\'s message in a modal box', async () => {
  // The message the show gives for this folder, as tarvel-capture prints it.
  const folder = path.join(root, 'test', 'missing-picture', 'content');
  const expected = await promisify(execFile)(capture, ['frames', '--content', folder, '--clocks', '0',
    '--out', path.join(work, 'fatal-capture')]).then(() => assert.fail('tarvel-capture did not fail'),
    (error) => error.stderr.trim().split('\n').pop());
  const page = await openShow('test/missing-picture/');
  await page.click('#play');
  await page.waitForSelector('#box:not([hidden])', { timeout: 60000 });
  const caption = await page.$eval('#box-caption', (e) => e.textContent);
  const text = await page.$eval('#box-text', (e) => e.textContent);
  assert.equal(`${caption} ${text}`, expected);
  assert.match(text, /^graph\\.+\.tga$/i);
  assert.equal(await state(page), 'stopped');
  const count = (await frames(page)).length;
  await sleep(500);
  assert.equal((await frames(page)).length, count, 'no frame after the error');
  await page.click('#box-ok');
  assert.equal(await page.$eval('#box', (b) => b.hidden), true);
  assert.deepEqual(page.errors, []);
  await page.close();
});

// ---------------------------------------------------------------- silence

test('without the soundtrack the show plays silent at clock 0', async () => {
  const page = await openShow('test/no-soundtrack/');
  await page.click('#play');
  const seen = await waitForFrames(page, 60, 'no 3 s of frames', (f) => f.length > 0 && f[f.length - 1].at - f[0].at > 3000);
  assert.ok(seen.length > 30, `only ${seen.length} frames in 3 s`);
  assert.deepEqual([...new Set(seen.map((f) => f.clock))], [0]);
  assert.equal(await state(page), 'playing');
  assert.deepEqual(page.errors, []);
  await page.close();
});

// CPU seconds used so far by a process and all its descendants (Linux).
function processTreeCpuSeconds(pid) {
  const ticks = 100; // USER_HZ
  const children = new Map();
  let total = 0;
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    let stat;
    try { stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8'); } catch { continue; }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    const parent = Number(fields[1]);
    if (!children.has(parent)) children.set(parent, []);
    children.get(parent).push({ pid: Number(entry), cpu: (Number(fields[11]) + Number(fields[12])) / ticks });
  }
  const walk = (p) => { for (const child of children.get(p) || []) { total += child.cpu; walk(child.pid); } };
  walk(pid);
  for (const list of children.values()) for (const e of list) if (e.pid === pid) total += e.cpu;
  return total;
}
