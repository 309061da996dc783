// Runs the cockpit page in the system's Chromium (no browser download).
// Screenshots (and traces, when asked) go to COCKPIT_ARTIFACTS, by default
// build/browser-artifacts.
const path = require('path');
const { defineConfig } = require('@playwright/test');

const artifacts = process.env.COCKPIT_ARTIFACTS || path.resolve(__dirname, '../../build/browser-artifacts');

module.exports = defineConfig({
  testDir: __dirname,
  testMatch: '*.test.js',
  timeout: 90_000,
  workers: 1,
  outputDir: path.join(artifacts, 'results'),
  reporter: [['list']],
  use: {
    browserName: 'chromium',
    launchOptions: {
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      // Playwright starts it headless with a fresh profile folder of its own
      // each time. CI runs as root, where Chromium's sandbox cannot start; the
      // rest keeps it from reaching out to the network, which is closed there.
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
             '--disable-component-update', '--disable-sync'],
    },
    viewport: { width: 1700, height: 1000 },
    screenshot: 'only-on-failure',
    // A trace records every picture the live page fetches, many a second:
    // kept on, it makes the suite minutes longer. Set PWTRACE=1 to record one.
    trace: process.env.PWTRACE ? 'retain-on-failure' : 'off',
  },
});
