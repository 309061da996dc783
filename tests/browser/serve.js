// Starts `gaugehost serve ARGS --port 0` for a browser test and learns the
// page's address from the line the server prints.
const { spawn } = require('child_process');
const path = require('path');
const readline = require('readline');

const root = path.resolve(__dirname, '../..');
const gaugehost = process.env.GAUGEHOST || path.join(root, 'build/gaugehost');

// Resolves to {server, address}; fails when the server ends first.
function serve(args, stderr = 'inherit') {
  const server = spawn(gaugehost, ['serve', ...args, '--port', '0'], { stdio: ['ignore', 'pipe', stderr] });
  const lines = readline.createInterface({ input: server.stdout });
  return new Promise((resolve, reject) => {
    server.on('exit', (code) => reject(new Error(`gaugehost serve ended with ${code}`)));
    lines.on('line', (line) => {
      const m = /(http:\/\/\S+\/)/.exec(line);
      if (m) resolve({ server, address: m[1] });
    });
  });
}

module.exports = { serve, root };
