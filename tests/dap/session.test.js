// ozra-dap end to end: a real protocol client launches fixture scripts and
// debugs them as an editor would.
'use strict';

const { test, beforeEach, afterEach } = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { OzraClient, script, TIMEOUT_MS } = require('./client');

const STEPS = script('steps.ozra');

let dc;
beforeEach(() => {
  dc = new OzraClient();
  return dc.start();
});
afterEach(() => dc.stop());

async function variables() {
  const scopes = await dc.scopesRequest({ frameId: 1 });
  const reference = scopes.body.scopes[0].variablesReference;
  const response = await dc.variablesRequest({ variablesReference: reference });
  return Object.fromEntries(response.body.variables.map((v) => [v.name, v.value]));
}

async function evaluate(expression) {
  const response = await dc.evaluateRequest({ expression, frameId: 1, context: 'watch' });
  return response.body.result;
}

async function step(request, reason, line, frameName) {
  const [, stopped] = await Promise.all([request, dc.assertStoppedLocation(reason, { path: STEPS, line })]);
  if (frameName) assert.strictEqual(stopped.body.stackFrames[0].name, frameName);
}

test('a breakpoint, the variables, evaluation, every step and the run to its end', async () => {
  await dc.hitBreakpoint({ program: STEPS }, { path: STEPS, line: 8 });
  assert.deepStrictEqual(await variables(), { i: '1', total: '0' });
  assert.strictEqual(await evaluate('total'), '0');
  assert.strictEqual(await evaluate('nothing'), 'variable nothing not found.');

  await step(dc.stepInRequest({ threadId: 1 }), 'step', 3, 'add');
  // The frames: the function, then where it was called from.
  const stack = await dc.stackTraceRequest({ threadId: 1 });
  assert.deepStrictEqual(stack.body.stackFrames.map((f) => [f.id, f.name, f.line]),
    [[1, 'add', 3], [2, 'steps.ozra', 8]]);
  assert.deepStrictEqual((await dc.scopesRequest({ frameId: 2 })).body.scopes, []);
  // A function sees its parameters, its own variables and the script's.
  assert.deepStrictEqual(await variables(), { a: '0', b: '1', result: '', s: '', total: '0' });
  await step(dc.nextRequest({ threadId: 1 }), 'step', 4);
  assert.strictEqual(await evaluate('s'), '1');
  // Out of the function: it pauses where the function returns.
  await step(dc.stepOutRequest({ threadId: 1 }), 'step', 5, 'add');
  await step(dc.nextRequest({ threadId: 1 }), 'step', 7);
  assert.strictEqual(await evaluate('total'), '1');
  // Over the call: the next round, at the breakpoint again.
  await step(dc.nextRequest({ threadId: 1 }), 'step', 8);
  await step(dc.nextRequest({ threadId: 1 }), 'step', 7);

  const cleared = await dc.setBreakpointsRequest({ source: { path: STEPS }, breakpoints: [] });
  assert.deepStrictEqual(cleared.body.breakpoints, []);
  const ending = dc.outputUntilExit();
  const terminated = dc.waitForEvent('terminated');
  await dc.continueRequest({ threadId: 1 });
  assert.deepStrictEqual(await ending, { text: '6\r\n', exitCode: 0 });
  await terminated;
});

test('breakpoints on lines without a statement are not verified', async () => {
  await Promise.all([dc.launch({ program: STEPS }), dc.waitForEvent('initialized')]);
  const response = await dc.setBreakpointsRequest({
    source: { path: STEPS },
    breakpoints: [{ line: 1 }, { line: 3 }, { line: 5 }, { line: 9 }, { line: 40 }],
  });
  const answers = response.body.breakpoints.map((b) => [b.line, b.verified]);
  assert.deepStrictEqual(answers, [[1, false], [3, true], [5, true], [9, false], [40, false]]);
  const elsewhere = await dc.setBreakpointsRequest({
    source: { path: script('failing.ozra') }, breakpoints: [{ line: 3 }],
  });
  assert.strictEqual(elsewhere.body.breakpoints[0].verified, false);
  assert.match(elsewhere.body.breakpoints[0].message, /not part of the program/);

  // The closing line of a function pauses as the function returns.
  await Promise.all([dc.configurationDoneRequest(), dc.assertStoppedLocation('breakpoint', { line: 3 })]);
  await Promise.all([dc.continueRequest({ threadId: 1 }), dc.assertStoppedLocation('breakpoint', { line: 5 })]);
});

test('stop on entry, and a working folder with the program named in it', async () => {
  const folder = path.dirname(STEPS);
  await Promise.all([
    dc.configurationSequence(),
    dc.launch({ program: 'steps.ozra', cwd: folder, stopOnEntry: true }),
    dc.assertStoppedLocation('entry', { path: STEPS, line: 6, column: 1 }),
  ]);
  const threads = await dc.threadsRequest();
  assert.deepStrictEqual(threads.body.threads, [{ id: 1, name: 'main' }]);
});

test('terminate ends a paused run, which says so in its output', async () => {
  await Promise.all([
    dc.configurationSequence(),
    dc.launch({ program: STEPS, stopOnEntry: true }),
    dc.assertStoppedLocation('entry', { line: 6 }),
  ]);
  const ending = dc.outputUntilExit();
  await Promise.all([dc.terminateRequest(), dc.waitForEvent('terminated')]);
  assert.deepStrictEqual(await ending, { text: '[stopped by user]\n', exitCode: 0 });
});

test('a run-time error ends the run with its message and exit code 1', async () => {
  const ending = dc.outputUntilExit();
  await Promise.all([dc.configurationSequence(), dc.launch({ program: script('failing.ozra') })]);
  const { text, exitCode } = await ending;
  assert.strictEqual(exitCode, 1);
  assert.match(text, /^before\r\n\[Runtime error : Division by zero @ .*failing\.ozra, 3:1\]\n$/);
});

test('an endless loop is paused, then the session ends with disconnect', async () => {
  await Promise.all([dc.configurationSequence(), dc.launch({ program: script('endless.ozra') })]);
  await new Promise((resolve) => setTimeout(resolve, 200));
  const [, stopped] = await Promise.all([
    dc.pauseRequest({ threadId: 1 }),
    dc.assertStoppedLocation('pause', { path: script('endless.ozra') }),
  ]);
  assert.ok([3, 4].includes(stopped.body.stackFrames[0].line));
  assert.notStrictEqual(await evaluate('n'), '0');
  await dc.disconnectRequest({ terminateDebuggee: true });
  const exit = await Promise.race([
    dc.serverExit,
    new Promise((resolve) => setTimeout(() => resolve('still running'), TIMEOUT_MS).unref()),
  ]);
  assert.deepStrictEqual(exit, { code: 0, signal: null });
});

test('a launch that cannot start is refused with the reason', async () => {
  await dc.initializeRequest();
  await assert.rejects(dc.launchRequest({}), /"program" must name the script/);
  await assert.rejects(dc.launchRequest({ program: script('missing.ozra') }), /no such file/);
  await assert.rejects(dc.launchRequest({ program: STEPS, args: [3] }),
    /"args" must be a list of strings/);
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'ozra-dap-'));
  fs.writeFileSync(path.join(folder, 'broken.ozra'), '<.\nvar x = (\n.>\n');
  await assert.rejects(dc.launchRequest({ program: path.join(folder, 'broken.ozra') }),
    /syntax errors:\n.*broken\.ozra:\d+:\d+: Syntax error/);
  fs.rmSync(folder, { recursive: true });
  // A refused launch leaves the session able to launch.
  await Promise.all([dc.launchRequest({ program: STEPS }), dc.waitForEvent('initialized')]);
});
