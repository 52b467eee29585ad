// Runs the browser suites (suites/*.test.js, or the files given) one after
// another through node's test runner with its human-readable reporter, whose summary
// is what CI reads. A suite in which no test ran (every one skipped, or none
// defined) fails: a stage that checked nothing must not pass.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { run } = require('node:test');
const { spec } = require('node:test/reporters');

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
const counted = (d) => !d.skip && !d.todo && !(d.details && d.details.type === 'suite');
stream.on('test:pass', (d) => {
  if (counted(d) && ran.has(d.file)) ran.set(d.file, ran.get(d.file) + 1);
});
stream.on('test:fail', (d) => {
  if (counted(d) && ran.has(d.file)) ran.set(d.file, ran.get(d.file) + 1);
  process.exitCode = 1;
});
stream.on('end', () => {
  for (const [file, n] of ran)
    if (n === 0) {
      console.log(`✖ ${path.relative(process.cwd(), file)}: no test ran`);
      process.exitCode = 1;
    }
});
stream.compose(typeof spec === 'function' && spec.prototype ? new spec() : spec).pipe(process.stdout);
