// The one linter and formatter configuration of kavex's JavaScript: the
// pages' and the playground's modules (web/), their tests (tests/web/) and
// the benchmarks (bench/). The code meets it as written; scripts/test-web
// checks it, from the top folder, where its paths start:
//   tests/web/node_modules/.bin/eslint -c tests/web/eslint.config.mjs web tests/web bench
import js from '@eslint/js';
import stylistic from '@stylistic/eslint-plugin';
import globals from 'globals';

// The names an Emscripten page gives its scripts, which the tests read.
const emscripten_page = { Module: 'readonly', FS: 'readonly', SDL: 'readonly' };

export default [
  { ignores: ['build*/**', '**/node_modules/**'] },
  js.configs.recommended,
  {
    files: ['**/*.mjs', '**/*.js'],
    languageOptions: { ecmaVersion: 2024, sourceType: 'module', globals: globals.node },
    plugins: { '@stylistic': stylistic },
    rules: {
      '@stylistic/indent': ['error', 2, { SwitchCase: 0 }],
      '@stylistic/quotes': ['error', 'single', { avoidEscape: true }],
      '@stylistic/semi': ['error', 'always'],
      '@stylistic/comma-dangle': ['error', 'always-multiline'],
      '@stylistic/max-len': ['error', { code: 160, ignoreStrings: true, ignoreTemplateLiterals: true }],
      '@stylistic/eol-last': 'error',
      '@stylistic/no-trailing-spaces': 'error',
      '@stylistic/brace-style': ['error', '1tbs', { allowSingleLine: true }],
      '@stylistic/arrow-parens': ['error', 'always'],
      '@stylistic/keyword-spacing': 'error',
      '@stylistic/space-infix-ops': 'error',
      '@stylistic/comma-spacing': 'error',
      '@stylistic/no-multiple-empty-lines': ['error', { max: 1 }],
      'eqeqeq': 'error',
      'no-var': 'error',
      'prefer-const': 'error',
    },
  },
  // The page's modules.
  {
    files: ['web/playground/*.mjs'],
    ignores: ['web/playground/{build,serve}.mjs'],
    languageOptions: { globals: { ...globals.browser, CodeMirror: 'readonly' } },
  },
  { files: ['web/playground/{compiler,runner}.mjs'], languageOptions: { globals: globals.worker } },
  // The service worker's list of files, which build.mjs writes in.
  { files: ['web/playground/sw.js'], languageOptions: { globals: { ...globals.serviceworker, FILES: 'readonly' } } },
  { files: ['web/playground/speaker_worklet.js'], languageOptions: { globals: globals.audioWorklet } },
  // Emscripten's library of the page's functions, in the older style its
  // compiler reads.
  {
    files: ['web/library.js'],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.browser, ...emscripten_page, Asyncify: 'readonly', LibraryManager: 'readonly',
        mergeInto: 'readonly', UTF8ToString: 'readonly', safeSetTimeout: 'readonly' },
    },
    rules: { 'no-var': 'off' },
  },
  // The tests and benchmarks run code in the page too (page.evaluate).
  { files: ['tests/web/*.mjs', 'bench/*.mjs'], languageOptions: { globals: { ...globals.browser, ...emscripten_page } } },
];
