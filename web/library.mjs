// What makes the library, as the build wrote it (library.tsv in the build
// folder, from graphics/manifest.cmake): the public headers, each build's
// sources, and the folders of the headers it is compiled against.
import fs from 'node:fs';
import path from 'node:path';

export function read_library(build_dir) {
  const rows = fs.readFileSync(path.join(build_dir, 'library.tsv'), 'utf8').split('\n').filter(Boolean).slice(1);
  const facts = {};
  for (const row of rows) {
    const [kind, name, value = ''] = row.split('\t');
    facts[kind] ??= {};
    facts[kind][name] = value.split(' ').filter(Boolean);
  }
  return {
    public_headers: facts.headers.public,
    folder: (name) => facts.folder[name][0],
    sources: (build) => facts.sources[build],
  };
}
