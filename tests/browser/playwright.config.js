// Runs the cockpit page in the system's Chromium (no browser download).
// Screenshots and failure traces go to COCKPIT_ARTIFACTS, by default
// build/browser-artifacts.
const path = require('path');
const { defineConfig } = require('@playwright/test');

const artifacts = process.env.COCKPIT_ARTIFACTS || path.resolve(__dirname, '../../build/browser-artifacts');

module.exports = defineConfig({
  testDir: __dirname,
  testMatch: '*.spec.js',
  timeout: 90_000,
  workers: 1,
  outputDir: path.join(artifacts, 'results'),
  reporter: [['list']],
  use: {
    browserName: 'chromium',
    launchOptions: {
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      // CI runs as root, where Chromium's sandbox cannot start.
      args: ['--no-sandbox'],
    },
    viewport: { width: 1700, height: 1000 },
    screenshot: 'only-on-failure',
    trace: 'retain-on-failure',
  },
});
