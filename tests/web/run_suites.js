// Runs the browser suites (suites/*.test.js, or the files given) one after
// another through node's test runner and reports each test on a line of its
// own, what the tests print (their figures), then the runner's own summary
// (tests, pass, fail...), which is what CI reads. A suite in which no test ran
// (every one skipped, or none defined) fails: a stage that checked nothing
// must not pass.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { run } = require('node:test');

const given = process.argv.slice(2).filter((a) => a.endsWith('.js'));
const dir = path.join(__dirname, 'suites');
const files = (
  given.length
    ? given
    : fs
        .readdirSync(dir)
        .filter((f) => f.endsWith('.test.js'))
        .map((f) => path.join(dir, f))
).map((f) => path.resolve(f));

const ran = new Map(files.map((f) => [f, 0]));
const stream = run({ files, concurrency: 1 });
const isSuite = (d) => d.details && d.details.type === 'suite';
const indent = (d) => '  '.repeat(d.nesting || 0);
stream.on('test:pass', (d) => {
  if (isSuite(d)) return console.log(`${indent(d)}▶ ${d.name}`);
  if (d.skip || d.todo) {
    console.log(`${indent(d)}﹣ ${d.name} # ${d.skip === true ? 'skipped' : d.skip || d.todo}`);
    return;
  }
  if (ran.has(d.file)) ran.set(d.file, ran.get(d.file) + 1);
  console.log(`${indent(d)}✔ ${d.name}`);
});
stream.on('test:fail', (d) => {
  process.exitCode = 1;
  if (isSuite(d)) return console.log(`${indent(d)}✖ ${d.name}`);
  if (ran.has(d.file)) ran.set(d.file, ran.get(d.file) + 1);
  const error = d.details && d.details.error;
  const why = error ? (error.cause || error).stack || String(error.cause || error) : '';
  console.log(`${indent(d)}✖ ${d.name}\n${why.replace(/^/gm, indent(d) + '    ')}`);
});
stream.on('test:stdout', (d) => process.stdout.write(d.message));
stream.on('test:diagnostic', (d) => console.log(`${indent(d)}ℹ ${d.message}`));
stream.on('end', () => {
  for (const [file, n] of ran)
    if (n === 0) {
      console.log(`✖ ${path.relative(process.cwd(), file)}: no test ran`);
      process.exitCode = 1;
    }
});
stream.resume();
