// What a playground address carries after its #, read and written here
// without a page (playground.mjs opens what it asks for):
//   #code=BASE64URL     a program's UTF-8 source, to open and run
//   #example=NAME       a program of the examples
//   #assignment=URL     a teacher's assignment (kavex-check --assignment)
//
//   link_to_program('https://host/playground/#old', source)  // 'https://host/playground/#code=...'
//   asked_by('#example=hello')    // { example: 'hello' }; null when it asks for nothing

// UTF-8, then base64 with the two characters an address cannot carry
// replaced and no padding.
function to_base64url(text) {
  let binary = '';
  for (const byte of new TextEncoder().encode(text)) binary += String.fromCharCode(byte);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function from_base64url(code) {
  const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
  return new TextDecoder('utf-8', { fatal: true }).decode(Uint8Array.from(binary, (c) => c.charCodeAt(0)));
}

export function link_to_program(address, source) {
  return `${address.split('#')[0]}#code=${to_base64url(source)}`;
}

// { code }, { damaged: true } for a code that is no program's text,
// { example }, { assignment }, or null.
export function asked_by(hash) {
  const [, kind, value] = hash.match(/^#?(code|example|assignment)=(.*)$/s) || [];
  if (kind === 'code') {
    try {
      return { code: from_base64url(value) };
    } catch {
      return { damaged: true };
    }
  }
  if (kind === 'example') return { example: decodeURIComponent(value) };
  if (kind === 'assignment') return { assignment: decodeURIComponent(value) };
  return null;
}
