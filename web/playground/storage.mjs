// A student's programs, kept in the browser's IndexedDB (asking for
// persistent storage, so that the browser does not clear them to make room),
// each with the pictures added to it, and which one was open last.
//
//   const shelf = await open_shelf();
//   await shelf.put({ id, name, source, files: { 'cat.png': Uint8Array }, updated });
//   await shelf.all();   // newest first
//   await shelf.remove(id);
//   shelf.last_open = { program: id } or { example: name };
const database = 'kavex-playground';
const store = 'programs';
const last_open_key = 'kavex-playground-open';

function request_done(request) {
  return new Promise((resolve, reject) => {
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

function opened() {
  const request = indexedDB.open(database, 1);
  request.onupgradeneeded = () => request.result.createObjectStore(store, { keyPath: 'id' });
  return request_done(request);
}

// Where IndexedDB is refused (a private window of some browsers), the
// programs live as long as the page: the student still works, and is told.
function memory_shelf() {
  const kept = new Map();
  return {
    lasting: false,
    all: async () => [...kept.values()].sort((a, b) => b.updated - a.updated),
    put: async (program) => { kept.set(program.id, program); },
    remove: async (id) => { kept.delete(id); },
  };
}

function database_shelf(db) {
  const run = (mode, work) => request_done(work(db.transaction(store, mode).objectStore(store)));
  let persistence_asked = false;
  return {
    lasting: true,
    all: async () => (await run('readonly', (s) => s.getAll())).sort((a, b) => b.updated - a.updated),
    async put(program) {
      if (!persistence_asked && navigator.storage && navigator.storage.persist) {
        persistence_asked = true;
        navigator.storage.persist().catch(() => {});
      }
      await run('readwrite', (s) => s.put(program));
    },
    remove: (id) => run('readwrite', (s) => s.delete(id)),
  };
}

export async function open_shelf() {
  let shelf;
  try {
    shelf = database_shelf(await opened());
  } catch {
    shelf = memory_shelf();
  }
  Object.defineProperty(shelf, 'last_open', {
    get() {
      try {
        return JSON.parse(localStorage.getItem(last_open_key)) || {};
      } catch {
        return {};
      }
    },
    set(value) {
      try {
        localStorage.setItem(last_open_key, JSON.stringify(value));
      } catch {
        // no local storage: the newest program opens next time
      }
    },
  });
  return shelf;
}

export const new_id = () => `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;

// A name not yet taken in `programs`: "hello", then "hello 2", "hello 3" ...
export function free_name(programs, wanted) {
  const taken = new Set(programs.map((p) => p.name));
  if (!taken.has(wanted)) return wanted;
  for (let n = 2; ; ++n) if (!taken.has(`${wanted} ${n}`)) return `${wanted} ${n}`;
}
