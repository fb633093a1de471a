// Text between the page's UTF-16 and the model's UTF-8, and labels with mnemonics.

const encoder = new TextEncoder();

export const utf8 = (text) => encoder.encode(text);

// The UTF-8 bytes before the first units UTF-16 units of text.
export const bytesBefore = (text, units) => encoder.encode(text.slice(0, units)).length;

// The UTF-16 units before the first bytes UTF-8 bytes of text.
export function unitsBefore(text, bytes) {
  let units = 0;
  while (units < text.length && bytesBefore(text, units + 1) <= bytes) ++units;
  return units;
}

// "&File": the letter after & underlined, as Windows shows a mnemonic; "&&" is an "&".
// Returns the mnemonic's letter, or null.
export function mnemonicLabel(element, text) {
  element.textContent = "";
  let key = null;
  for (let i = 0; i < text.length; ++i) {
    if (text[i] === "&" && i + 1 < text.length) {
      ++i;
      if (text[i] !== "&" && key === null) {
        key = text[i];
        const u = document.createElement("u");
        u.textContent = text[i];
        element.append(u);
        continue;
      }
    }
    element.append(text[i]);
  }
  return key;
}
