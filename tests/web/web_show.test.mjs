// The show's web page in headless Chromium, driven with puppeteer-core; scripts/test_web.sh names the
// page (test/missing-picture and test/no-soundtrack beside it), content, tarvel-capture and a work folder.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { promisify } from 'node:util';
import { launchChromium, serveFolder } from './browser.mjs';

const { TARVEL_WEB_ROOT: root, TARVEL_CONTENT: content, TARVEL_CAPTURE: capture, TARVEL_WEB_WORK: work } = process.env;
const run = promisify(execFile);
// The frame compared with tarvel-capture: the first drawn at this clock or later.
const CompareClock = 250;

let server, base, browser;

before(async () => {
  assert.ok(root && content && capture && work, 'TARVEL_WEB_ROOT, TARVEL_CONTENT, TARVEL_CAPTURE and TARVEL_WEB_WORK');
  ({ server, base } = await serveFolder(root));
  browser = await launchChromium(fs.mkdtempSync(path.join(work, 'profile-')), ['--autoplay-policy=no-user-gesture-required']);
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
});

// Runs in the page: logs every presented frame's number, clock and audio time, and keeps the
// canvas (base64 RGBA) of the first frame drawn at `grabAt` or later.
function watchFrames() {
  const T = (window.__tarvel = { frames: [], grabAt: null, grab: null });
  document.addEventListener('DOMContentLoaded', () => {
    const canvas = document.getElementById('screen');
    canvas.addEventListener('tarvel-frame', ({ detail: { frame, clock } }) => {
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
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.evaluateOnNewDocument(watchFrames);
  await page.goto(`${base}/${folder}tarvel.html?log`);
  await page.waitForSelector('body[data-state="ready"]', { timeout: 120000 });
  return page;
}

const state = (page) => page.evaluate(() => document.body.dataset.state);
const frames = (page) => page.evaluate(() => window.__tarvel.frames);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls the page's frames until `check` holds; fails after `seconds`.
async function waitForFrames(page, seconds, what, check) {
  for (const end = Date.now() + seconds * 1000; ; await sleep(200)) {
    const seen = await frames(page);
    if (check(seen)) return seen;
    const last = seen.slice(-3).map((f) => `${f.frame}@${f.clock}`).join(' ');
    if (Date.now() > end) assert.fail(`${what} within ${seconds} s (${seen.length} frames, last ${last}; ${await state(page)})`);
  }
}

// The page is in `expected` state and no frame comes any more.
async function expectStopped(page, expected) {
  const count = (await frames(page)).length;
  await sleep(500);
  assert.equal((await frames(page)).length, count);
  assert.equal(await state(page), expected);
}

async function closeWithoutErrors(page) {
  assert.deepEqual(page.errors, []);
  await page.close();
}

// tarvel-capture's last frame for `clocks`, drawn from a fresh start as the page drew them (so that
// every Random call matches): little-endian 0x00RRGGBB.
async function captureFrame(clocks) {
  const list = path.join(work, 'clocks.txt'), out = fs.mkdtempSync(path.join(work, 'capture-'));
  fs.writeFileSync(list, clocks.join('\n') + '\n');
  await run(capture, ['frames', '--content', content, '--clocks', `@${list}`, '--out', out, '--raw']);
  return fs.readFileSync(path.join(out, `frame_${String(clocks.length - 1).padStart(5, '0')}.rgb32`));
}

test('the show: pixels, clock and audio, Escape', async (t) => {
  const page = await openShow('');
  await page.evaluate((clock) => { window.__tarvel.grabAt = clock; }, CompareClock);
  await page.click('#play');

  await t.test(`frame 1 at clock 0, then tarvel-capture's pixels at clock ${CompareClock}`, async () => {
    const reached = (f) => f.some((x) => x.clock >= CompareClock);
    const seen = await waitForFrames(page, 60, `no frame at ${CompareClock}`, reached);
    assert.deepEqual([seen[0].frame, seen[0].clock], [1, 0]);
    const grab = await page.evaluate(() => window.__tarvel.grab);
    const drawn = (await frames(page)).filter((f) => f.frame <= grab.frame).map((f) => f.clock);
    assert.equal(drawn.length, grab.frame, 'every frame up to the compared one was logged');
    const reference = await captureFrame(drawn), canvas = Buffer.from(grab.rgba, 'base64');
    assert.equal(canvas.length, 800 * 600 * 4);
    let differing = 0;
    for (let p = 0; p < 800 * 600; p++) {
      if (canvas[4 * p] !== reference[4 * p + 2] || canvas[4 * p + 1] !== reference[4 * p + 1] ||
          canvas[4 * p + 2] !== reference[4 * p] || canvas[4 * p + 3] !== 255) differing++;
    }
    if (differing) fs.writeFileSync(path.join(work, 'canvas.rgba'), canvas);
    assert.equal(differing, 0, `frame ${grab.frame} at clock ${grab.clock}: ${differing} pixels differ (canvas kept in ${work})`);
  });

  await t.test('the clock follows the audio context, at one hundredth per hundredth of a second', async () => {
    // From the first frame drawn at a clock above 0, over 4 s of frames.
    const seen = await waitForFrames(page, 60, 'no 4 s of rising clock', (f) => {
      const start = f.find((x) => x.clock > 0);
      return start && f[f.length - 1].at - start.at > 4000;
    });
    const start = seen.find((x) => x.clock > 0), end = seen[seen.length - 1];
    const clockSeconds = (end.clock - start.clock) / 100, audioSeconds = end.audio - start.audio;
    assert.ok(Math.abs(clockSeconds - audioSeconds) < 0.1, `the clock moved ${clockSeconds} s, the audio ${audioSeconds} s`);
    for (let i = 1; i < seen.length; i++) assert.ok(seen[i].clock >= seen[i - 1].clock, 'the clock never goes back');
  });

  await t.test('Escape ends the show: the sound stops and the page offers to watch again', async () => {
    await page.keyboard.press('Escape');
    await page.waitForSelector('body[data-state="ended"]', { timeout: 30000 });
    assert.equal(await page.$eval('#play', (b) => b.hidden), false);
    await expectStopped(page, 'ended');
    assert.equal(await page.evaluate(() => window.Module.audioContext.state), 'suspended');
  });
  await closeWithoutErrors(page);
});

test('a missing picture stops the show with the loader\'s message in a modal box', async () => {
  // The message the show gives for this folder, as tarvel-capture prints it.
  const folder = path.join(root, 'test', 'missing-picture', 'content');
  const expected = await run(capture, ['frames', '--content', folder, '--clocks', '0', '--out', path.join(work, 'fatal')])
    .then(() => assert.fail('tarvel-capture did not fail'), (error) => error.stderr.trim().split('\n').pop());
  const page = await openShow('test/missing-picture/');
  await page.click('#play');
  await page.waitForSelector('#box:not([hidden])', { timeout: 60000 });
  const shown = await page.$$eval('#box-caption, #box-text', (all) => all.map((e) => e.textContent).join(' '));
  assert.equal(shown, expected);
  await expectStopped(page, 'stopped');
  await closeWithoutErrors(page);
});

test('without the soundtrack the show plays silent at clock 0', async () => {
  const page = await openShow('test/no-soundtrack/');
  await page.click('#play');
  const seen = await waitForFrames(page, 60, 'no 30 frames over 3 s', (f) => f.length > 30 && f[f.length - 1].at - f[0].at > 3000);
  assert.deepEqual([...new Set(seen.map((f) => f.clock))], [0]);
  assert.equal(await state(page), 'playing');
  await closeWithoutErrors(page);
});
