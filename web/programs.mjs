// The list of programs as the build wrote it (programs.tsv in the build
// folder, from examples/list.txt by cmake/programs.cmake): one object per
// program, in the list's order, with the fields of its header line
// (name, source, kind, title, teaches, hint).
import fs from 'node:fs';
import path from 'node:path';

export function read_programs(build_dir) {
  const [header, ...rows] = fs.readFileSync(path.join(build_dir, 'programs.tsv'), 'utf8').split('\n').filter(Boolean);
  const fields = header.split('\t');
  return rows.map((row) => Object.fromEntries(row.split('\t').map((value, i) => [fields[i], value])));
}
