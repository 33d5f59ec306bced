// The editor extension's manifest registers the adapter for Ozra files and
// offers only launch arguments that ozra-dap reads.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');

const extension = path.join(__dirname, '..', '..', 'editors', 'vscode');

test('the manifest registers ozra-dap for .ozra files', () => {
  const manifest = JSON.parse(fs.readFileSync(path.join(extension, 'package.json'), 'utf8'));
  const [language] = manifest.contributes.languages;
  assert.ok(language.extensions.includes('.ozra'));
  const [adapter] = manifest.contributes.debuggers;
  assert.deepStrictEqual(adapter.languages, [language.id]);
  assert.deepStrictEqual(manifest.contributes.breakpoints, [{ language: language.id }]);
  const launch = adapter.configurationAttributes.launch;
  const read = ['program', 'cwd', 'args', 'stopOnEntry', 'noDebug'];
  for (const name of Object.keys(launch.properties)) assert.ok(read.includes(name), name);
  // The launcher starts the server it is pointed at.
  const started = childProcess.spawnSync(path.join(extension, adapter.program), ['--version'], {
    env: { ...process.env, OZRA_DAP: process.env.OZRA_DAP }, encoding: 'utf8',
  });
  assert.match(started.stdout, /^ozra-dap /);
});
