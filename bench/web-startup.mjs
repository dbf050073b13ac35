// Start-up of the web page against a bare Qt window built the same way (bench/barewindow.cpp
// in the "web" build): the time from navigation to the first frame the page draws on its
// canvas, in headless Chromium on 127.0.0.1, the two pages taken in turns in one run.
//
//   node bench/web-startup.mjs [RUNS]     after ./scripts/package-web
//
// The first frame is the first WebGL draw call (Qt's compositor draws each frame so), noted
// by the page itself against its navigation start. Prints the median of each and their ratio.

import { spawn } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(join(root, 'tests', 'web', 'package.json'));
const { chromium } = require('playwright-core');
const runs = Number(process.argv[2] ?? 15);

// Two sites side by side: the program's, and the same page starting the bare window.
const sites = mkdtempSync(join(tmpdir(), 'snoetjesmal-bench-'));
cpSync(join(root, 'dist', 'web'), join(sites, 'program'), { recursive: true });
cpSync(join(root, 'dist', 'web'), join(sites, 'bare'), { recursive: true });
for (const file of ['barewindow.js', 'barewindow.wasm']) {
  cpSync(join(root, 'build', 'web', 'bench', file), join(sites, 'bare', file));
}
const page = join(sites, 'bare', 'index.html');
writeFileSync(page, readFileSync(page, 'utf8').replace("loadEmscriptenModule('snoetjesmal')",
  "loadEmscriptenModule('barewindow')"));

function noteFirstFrame() {
  const note = () => {
    if (window.firstFrame === undefined) window.firstFrame = performance.now();
  };
  for (const type of [WebGLRenderingContext, WebGL2RenderingContext]) {
    for (const name of ['drawArrays', 'drawElements']) {
      const original = type.prototype[name];
      type.prototype[name] = function (...args) { note(); return original.apply(this, args); };
    }
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = spawn('python3', [join(root, 'tools', 'serve-web.py'), sites, '0'],
  { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--disable-quic'],
});
const times = { program: [], bare: [] };
try {
  for (let run = 0; run < runs + 1; run++) {
    for (const name of run % 2 ? ['program', 'bare'] : ['bare', 'program']) {
      // A new context each time: nothing cached, as on a first visit.
      const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
      const tab = await context.newPage();
      await tab.addInitScript(noteFirstFrame);
      await tab.goto(`${url}${name}/`);
      await tab.waitForFunction(() => window.firstFrame !== undefined, null, { timeout: 60000 });
      const ms = await tab.evaluate(() => window.firstFrame);
      if (run > 0) times[name].push(ms); // the first round warms the browser up
      await context.close();
    }
  }
} finally {
  await browser.close();
  server.kill();
  rmSync(sites, { recursive: true, force: true });
}
const program = median(times.program);
const bare = median(times.bare);
console.log(`first frame, median of ${runs}: program ${program.toFixed(0)} ms, ` +
  `bare window ${bare.toFixed(0)} ms, ratio ${(program / bare).toFixed(3)}`);
