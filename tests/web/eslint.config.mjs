// The one linter and formatter configuration of kavex's JavaScript (web/,
// tests/web/, bench/), in the style the code is written in. scripts/test-web
// checks it from the top folder, where its paths start (add --fix to mend):
//   tests/web/node_modules/.bin/eslint -c tests/web/eslint.config.mjs web tests/web bench
import js from '@eslint/js';
import stylistic from '@stylistic/eslint-plugin';
import globals from 'globals';

// What an Emscripten page gives its scripts, which the tests read too.
const emscripten_page = { Module: 'readonly', FS: 'readonly', SDL: 'readonly' };
const browser_side = (files, more) => ({ files, languageOptions: { globals: { ...globals.browser, ...more } } });

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
      '@stylistic/brace-style': ['error', '1tbs', { allowSingleLine: true }],
      '@stylistic/arrow-parens': ['error', 'always'],
      '@stylistic/no-multiple-empty-lines': ['error', { max: 1 }],
      '@stylistic/eol-last': 'error',
      '@stylistic/no-trailing-spaces': 'error',
      '@stylistic/keyword-spacing': 'error',
      '@stylistic/space-infix-ops': 'error',
      '@stylistic/comma-spacing': 'error',
      'eqeqeq': 'error',
      'no-var': 'error',
      'prefer-const': 'error',
    },
  },
  { ...browser_side(['web/playground/*.mjs'], { CodeMirror: 'readonly' }), ignores: ['web/playground/{build,serve}.mjs'] },
  { files: ['web/playground/{compiler,runner}.mjs'], languageOptions: { globals: globals.worker } },
  // FILES: the list of files that build.mjs writes in.
  { files: ['web/playground/sw.js'], languageOptions: { globals: { ...globals.serviceworker, FILES: 'readonly' } } },
  { files: ['web/playground/speaker_worklet.js'], languageOptions: { globals: globals.audioWorklet } },
  // The page's functions for Emscripten, in the older style its library compiler reads.
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
  browser_side(['tests/web/*.mjs', 'bench/*.mjs'], emscripten_page),
];
