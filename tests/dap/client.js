// The protocol client the tests drive ozra-dap with: the npm package's
// client, started on the built server (OZRA_DAP) with nothing between them,
// and the path of a fixture script.
'use strict';

const { DebugClient } = require('@vscode/debugadapter-testsupport');
const childProcess = require('node:child_process');
const path = require('node:path');

// Sanitizer builds start slowly and run scripts slowly.
const TIMEOUT_MS = 30000;

class OzraClient extends DebugClient {
  constructor() {
    super(process.env.OZRA_DAP, '', 'ozra');
    this.defaultTimeout = TIMEOUT_MS;
  }

  // The package's client passes its "executable" to the runtime as an
  // argument; ozra-dap takes none.
  start() {
    this.server = childProcess.spawn(process.env.OZRA_DAP, [], { stdio: ['pipe', 'pipe', 'pipe'] });
    this.serverErrors = '';
    this.server.stderr.on('data', (data) => { this.serverErrors += data; });
    this.serverExit = new Promise((resolve) => {
      this.server.on('exit', (code, signal) => resolve({ code, signal }));
    });
    this.connect(this.server.stdout, this.server.stdin);
    return Promise.resolve();
  }

  // A session that ended with disconnect has nothing left to ask.
  stop() {
    return this.server.exitCode === null && this.server.signalCode === null ? super.stop() : Promise.resolve();
  }

  stopAdapter() {
    if (this.server && this.server.exitCode === null) this.server.kill();
  }

  // Every output event of one category, joined, until the run's end.
  outputUntilExit(category = 'stdout') {
    let text = '';
    this.on('output', (event) => {
      if (event.body.category === category) text += event.body.output;
    });
    return this.waitForEvent('exited').then((exited) => ({ text, exitCode: exited.body.exitCode }));
  }
}

function script(name) {
  return path.join(__dirname, 'scripts', name);
}

module.exports = { OzraClient, script, TIMEOUT_MS };
