// The student's work in the playground: the program in the editor, kept as
// it is typed (storage.mjs), the list of one's own programs (new, rename,
// delete, download, open from the disk), the examples, which are shown
// without being kept until the student changes one, the pictures a student
// adds to a program, and the hint under the picture: the example's, or a
// general one for a program of one's own.
//
//   const work = await workspace({ editor, examples, say });
//   work.open_link_program(source);  work.open_example(name);  await work.restore();
//   work.files()   // the running program's files: the examples' pictures/ and sounds/, the program's own
import { free_name, new_id, open_shelf } from './storage.mjs';
import { say as words } from './words.mjs';

const $ = (id) => document.getElementById(id);
const save_pause = 400;  // ms after the last key before the program is kept
const new_program_source = `#include "graphics.hpp"
using namespace kavex;

int main() {
    gout.open(400, 400);
    gout << use_color(255, 255, 255) << move_abs(20, 20);
    gout.draw_text("A program of my own");
    gout << refresh;
    event ev;
    while (gin.wait_event(ev)) {}   // until Stop
}
`;
const file_types = /\.(png|bmp|wav|ogg)$/i;  // what a program may load: pictures and sounds

const bytes_of = (base64) => Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));

export async function workspace({ editor, examples, say }) {
  const shelf = await open_shelf();
  let programs = await shelf.all();
  let open = null;       // the program of the list in the editor, or null for an example
  let example = null;    // the example in the editor, while it is unchanged
  let loading = false;   // the editor is being filled, not typed into
  let save_timer = null;

  const examples_files = {};
  for (const e of examples) {
    for (const [name, base64] of Object.entries(e.files)) examples_files[name] = bytes_of(base64);
  }

  const program_menu = $('programs');
  const example_menu = $('examples');
  for (const e of examples) example_menu.add(new Option(e.title, e.name));

  function show_list() {
    program_menu.textContent = '';
    if (!open) program_menu.add(new Option(example ? words('the_example', { name: example.name }) : words('none'), ''));
    for (const p of programs) program_menu.add(new Option(p.name, p.id));
    program_menu.value = open ? open.id : '';
    example_menu.value = example ? example.name : '';
    for (const id of ['rename', 'delete']) $(id).disabled = !open;
    $('hint').textContent = example ? example.hint : words('general_hint');
    show_files();
  }

  function show_in_editor(source) {
    loading = true;
    editor.setValue(source);
    editor.clearHistory();
    loading = false;
  }

  async function keep_now() {
    clearTimeout(save_timer);
    save_timer = null;
    if (!open) return;
    open.source = editor.getValue();
    open.updated = Date.now();
    try {
      await shelf.put(open);
    } catch (e) {
      say(words('not_kept', { why: e.message || e }));
    }
  }

  async function add_program(name, source) {
    const program = { id: new_id(), name: free_name(programs, name), source, files: {}, updated: Date.now() };
    programs.unshift(program);
    await shelf.put(program);
    return program;
  }

  async function open_program(program) {
    await keep_now();
    open = program;
    example = null;
    shelf.last_open = { program: program.id };
    show_in_editor(program.source);
    show_list();
  }

  // An example is shown as it is; the first change makes it a program of the list.
  async function open_example(name) {
    const found = examples.find((e) => e.name === name);
    if (!found) return false;
    await keep_now();
    open = null;
    example = found;
    shelf.last_open = { example: name };
    show_in_editor(found.source);
    show_list();
    return true;
  }

  async function own_copy_of_example() {
    const from = example;
    example = null;
    open = await add_program(from.name, editor.getValue());
    shelf.last_open = { program: open.id };
    show_list();
    save_timer = setTimeout(keep_now, save_pause);  // what was typed meanwhile
  }

  editor.on('change', () => {
    if (loading) return;
    if (!open && example) {
      own_copy_of_example();
      return;
    }
    clearTimeout(save_timer);
    save_timer = setTimeout(keep_now, save_pause);
  });
  window.addEventListener('pagehide', () => { keep_now(); });
  document.addEventListener('visibilitychange', () => { if (document.hidden) keep_now(); });

  // --- the list's buttons
  program_menu.addEventListener('change', () => {
    const chosen = programs.find((p) => p.id === program_menu.value);
    if (chosen) open_program(chosen);
  });
  example_menu.addEventListener('change', () => open_example(example_menu.value));
  $('new').addEventListener('click', async () => open_program(await add_program(words('my_program'), new_program_source)));
  $('rename').addEventListener('click', async () => {
    if (!open) return;
    const name = (prompt(words('new_name'), open.name) || '').trim();
    if (!name || name === open.name) return;
    open.name = free_name(programs.filter((p) => p !== open), name);
    await keep_now();
    show_list();
  });
  $('delete').addEventListener('click', async () => {
    if (!open || !confirm(`Delete “${open.name}” from this browser?`)) return;
    clearTimeout(save_timer);
    await shelf.remove(open.id);
    programs = programs.filter((p) => p !== open);
    open = null;
    if (programs.length) await open_program(programs[0]);
    else await open_example('hello');
    say(words('deleted'));
  });
  $('download').addEventListener('click', () => {
    const name = open ? open.name : example ? example.name : 'main';
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([editor.getValue()], { type: 'text/x-c++src' }));
    link.download = `${name.replace(/[\\/:*?"<>|]+/g, '_')}.cpp`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  });
  $('open').addEventListener('click', () => $('open-file').click());
  $('open-file').addEventListener('change', async () => {
    const file = $('open-file').files[0];
    $('open-file').value = '';
    if (!file) return;
    await open_program(await add_program(file.name.replace(/\.(cpp|cc|cxx|c)$/i, ''), await file.text()));
    say(words('opened_file', { file: file.name }));
  });

  // --- pictures and sounds of one's own, kept with the program
  function show_files() {
    const list = $('files');
    list.textContent = '';
    for (const name of Object.keys(open ? open.files : {}).sort()) {
      const item = document.createElement('li');
      const remove = document.createElement('button');
      remove.textContent = '×';
      remove.title = words('remove_file', { file: name });
      remove.addEventListener('click', async () => {
        delete open.files[name];
        await keep_now();
        show_files();
      });
      const code = document.createElement('code');
      code.textContent = `load("${name}")`;
      item.append(code, ' ', remove);
      list.append(item);
    }
  }

  async function add_files(file_list) {
    const chosen = [...file_list].filter((f) => file_types.test(f.name));
    if (!chosen.length) {
      say(words('only_these_files'));
      return;
    }
    if (!open && example) await own_copy_of_example();
    if (!open) return;
    for (const f of chosen) open.files[f.name] = new Uint8Array(await f.arrayBuffer());
    await keep_now();
    show_files();
    say(words('added_files', { files: chosen.map((f) => f.name).join(', '), first: chosen[0].name }));
  }

  $('add-picture').addEventListener('click', () => $('picture-file').click());
  $('picture-file').addEventListener('change', async () => {
    await add_files($('picture-file').files);
    $('picture-file').value = '';
  });
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    if (e.dataTransfer.files.length) add_files(e.dataTransfer.files);
  });

  return {
    lasting: shelf.lasting,
    open_example,
    // A program from a link: a new program of the list, unless one holds it already.
    async open_link_program(source) {
      const same = programs.find((p) => p.source === source);
      await open_program(same || await add_program(words('from_link'), source));
    },
    // What was open last, else the newest program, else hello.
    async restore() {
      const last = shelf.last_open;
      const program = programs.find((p) => p.id === last.program) || (last.example ? null : programs[0]);
      if (program) await open_program(program);
      else if (!(last.example && await open_example(last.example))) await open_example('hello');
    },
    async save_now() {
      if (!open && example) await own_copy_of_example();
      await keep_now();
      say(shelf.lasting ? words('saved', { name: open.name }) : words('keeps_nothing'));
    },
    files: () => ({ ...examples_files, ...(open ? open.files : {}) }),
  };
}
