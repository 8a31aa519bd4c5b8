// The playground's own words in the student's language: English,
// Hungarian, Czech, Slovak or Polish, one table a language (words/*.mjs), as
// the library's explanations are. The language is the one chosen in the
// page's menu, kept in this browser; before any choice, the first of the
// browser's languages that has a table; English otherwise. The running
// program gets it as KAVEX_LANG, so that its explanations speak it too; the
// compiler's messages stay as the compiler writes them.
//
//   say('recorded', { lines: 12, file: 'run.txt' })   // "Recorded: 12 lines in run.txt, …"
//
// A table's {name} is the value given for name; {n:line|lines} is the form
// of the word that the number n asks for: English has two (1, other),
// Polish, Czech and Slovak three (1; 2 to 4; 5 and more), Hungarian one.
import cs from './words/cs.mjs';
import en from './words/en.mjs';
import hu from './words/hu.mjs';
import pl from './words/pl.mjs';
import sk from './words/sk.mjs';

export const languages = { en: 'English', hu: 'Magyar', cs: 'Čeština', sk: 'Slovenčina', pl: 'Polski' };
const tables = { en, hu, cs, sk, pl };
const shelf = 'kavex-playground-language';

function kept_choice() {
  try { return globalThis.localStorage?.getItem(shelf); } catch { return null; }  // a browser that keeps nothing
}

// The language's code from a browser's tag such as "hu-HU", or null.
export function language_of(tag) {
  const code = String(tag || '').slice(0, 2).toLowerCase();
  return code in tables && !/^[a-z]/i.test(String(tag).charAt(2)) ? code : null;
}

let chosen = [kept_choice(), ...(globalThis.navigator?.languages || [])].map(language_of).find(Boolean) || 'en';

export const language = () => chosen;

export function choose_language(code) {
  if (!(code in tables)) return;
  chosen = code;
  try { localStorage.setItem(shelf, code); } catch { /* kept for this visit only */ }
}

// The index of a word's form after `n`: 1 takes the first, Intl's "few" (2
// to 4 in Polish, Czech and Slovak) the second, any other number the last.
function form(n, forms) {
  const index = { one: 0, few: 1 }[new Intl.PluralRules(chosen).select(Number(n))] ?? 2;
  return forms[Math.min(index, forms.length - 1)];
}

export function fill(text, values) {
  return text.replace(/\{([a-z_]+)(?::([^}]*))?\}/g, (place, name, forms) => {
    if (!(name in values)) return place;
    return forms === undefined ? String(values[name]) : form(values[name], forms.split('|'));
  });
}

export function say(key, values = {}) {
  return fill(tables[chosen][key] ?? en[key], values);
}

// The page's fixed words: an element's data-words names its text,
// data-words-title its title, data-words-label its aria-label.
export function put_words(root) {
  document.documentElement.lang = chosen;
  document.title = say('page_title');
  for (const element of root.querySelectorAll('[data-words]')) element.textContent = say(element.dataset.words);
  for (const element of root.querySelectorAll('[data-words-title]')) element.title = say(element.dataset.wordsTitle);
  for (const element of root.querySelectorAll('[data-words-label]')) element.setAttribute('aria-label', say(element.dataset.wordsLabel));
}

// For the tests: every table's keys and places.
export { tables };
