// What a program compiled for WASI asks of its system, as far as a kavex
// program in the playground needs it: its name and environment (KAVEX_EXPLAIN
// is on), standard output and error (handed to `write`), the clocks,
// randomness and exit. There are no files or folders here: the library
// reaches the page's files through its own imports (runner.mjs); every other
// call answers that it is not supported.
//
//   const system = wasi({ args: ['main'], env: ['KAVEX_EXPLAIN=1'], write: (fd, text) => ..., memory: () => mem });
//   imports.wasi_snapshot_preview1 = system.imports;
//   ... exit throws system.Exit, whose `code` is the program's exit status;
//   system.answered lists the calls answered here, not refused.
const success = 0;
const bad_file = 8;
const not_supported = 52;
const not_seekable = 70;

export class Exit extends Error {
  constructor(code) {
    super(`exit ${code}`);
    this.code = code;
  }
}

export function wasi({ args, env, write, memory }) {
  const encoder = new TextEncoder();
  const decoders = { 1: new TextDecoder(), 2: new TextDecoder() };
  const view = () => new DataView(memory().buffer);
  const bytes = () => new Uint8Array(memory().buffer);

  // argv or environ: the pointers, then the strings with their zero bytes.
  const strings = (list) => list.map((s) => encoder.encode(`${s}\0`));
  const sizes_of = (list) => (count_at, size_at) => {
    const encoded = strings(list);
    view().setUint32(count_at, encoded.length, true);
    view().setUint32(size_at, encoded.reduce((n, s) => n + s.length, 0), true);
    return success;
  };
  const values_of = (list) => (pointers_at, buffer_at) => {
    let at = buffer_at;
    strings(list).forEach((s, i) => {
      view().setUint32(pointers_at + 4 * i, at, true);
      bytes().set(s, at);
      at += s.length;
    });
    return success;
  };

  const own = {
    args_sizes_get: sizes_of(args),
    args_get: values_of(args),
    environ_sizes_get: sizes_of(env),
    environ_get: values_of(env),
    fd_write(fd, iovs, count, written_at) {
      if (fd !== 1 && fd !== 2) return bad_file;
      let written = 0;
      let text = '';
      for (let i = 0; i < count; ++i) {
        const at = view().getUint32(iovs + 8 * i, true);
        const length = view().getUint32(iovs + 8 * i + 4, true);
        text += decoders[fd].decode(bytes().subarray(at, at + length), { stream: true });
        written += length;
      }
      if (text) write(fd, text);
      view().setUint32(written_at, written, true);
      return success;
    },
    fd_read(fd, iovs, count, read_at) {
      view().setUint32(read_at, 0, true);  // standard input is empty
      return fd === 0 ? success : bad_file;
    },
    // Standard input, output and error are a terminal: output goes out by the line.
    fd_fdstat_get(fd, stat_at) {
      if (fd > 2) return bad_file;
      new Uint8Array(memory().buffer, stat_at, 24).fill(0);
      view().setUint8(stat_at, 2);  // a character device, which cannot seek
      return success;
    },
    fd_seek: (fd) => (fd > 2 ? bad_file : not_seekable),
    fd_close: (fd) => (fd > 2 ? bad_file : success),
    fd_prestat_get: () => bad_file,  // no folders
    clock_time_get(id, precision, time_at) {
      const ms = id === 0 ? Date.now() : performance.now();
      view().setBigUint64(time_at, BigInt(Math.round(ms * 1e6)), true);
      return success;
    },
    clock_res_get(id, resolution_at) {
      view().setBigUint64(resolution_at, 1000n, true);
      return success;
    },
    random_get(at, length) {
      for (let done = 0; done < length; done += 65536) {
        crypto.getRandomValues(new Uint8Array(memory().buffer, at + done, Math.min(65536, length - done)));
      }
      return success;
    },
    sched_yield: () => success,
    proc_exit(code) {
      throw new Exit(code);
    },
  };
  const imports = new Proxy(own, { get: (target, name) => target[name] || (() => not_supported) });
  return { imports, Exit, answered: Object.keys(own) };
}
