#!/usr/bin/env node
// Writes tests/fixtures/regexp/replace.cases from node's own RegExp and
// String.prototype.replace, the oracle for the regular-expression object
// (tests/platform/regexp). Hand-written cases for each rule of the dialect, then random
// patterns, texts and replacements over a small alphabet with CR, LF, U+2028, surrogates
// and case pairs. The random part is seeded, so the file only changes with this script.
//
// Format: cases separated by blank lines, one field per line, "key value":
//   pattern, flags ("-" or letters of g, i, m), text, replacement,
//   result (the replaced text) or error (node refused the pattern; value is its message),
//   known (optional): a difference from node the object keeps, and why.
// Values: printable ASCII as it is, "\\" for a backslash, "\uXXXX" for every other unit.
//
// Run: node tests/tools/gen_regexp_fixtures.js

'use strict';
const fs = require('fs');
const path = require('path');

const OUT = path.join(__dirname, '..', 'fixtures', 'regexp', 'replace.cases');

function esc(s) {
  let out = '';
  for (let i = 0; i < s.length; ++i) {
    const c = s.charCodeAt(i);
    if (c === 0x5c) out += '\\\\';
    else if (c >= 0x20 && c <= 0x7e) out += s[i];
    else out += '\\u' + c.toString(16).toUpperCase().padStart(4, '0');
  }
  return out;
}

const cases = [];
function add(pattern, flags, text, replacement, known) {
  const c = { pattern, flags, text, replacement, known };
  try {
    const re = new RegExp(pattern, flags);
    c.result = text.replace(re, replacement);
  } catch (e) {
    c.error = String(e.message);
  }
  cases.push(c);
}
// Each rule with and without the options that bear on it.
function addAll(pattern, text, replacement, flagSets) {
  for (const f of flagSets || ['g', 'gi', 'gm', '']) add(pattern, f, text, replacement);
}

// ---- hand-written: one group per rule -------------------------------------------------------
const LT = 'a\nb\rc\r\nd\u2028e\u2029f';
// The dot and line terminators.
addAll('.', LT, '[$&]');
addAll('a.b', 'a\nb a\rb a\u2028b a\u2029b axb a\uD83Db', '<$&>');
addAll('.+', 'x\uD83D\uDE00y\nz', '($&)');
// ^ and $ with and without Multiline, at every kind of line end.
addAll('^', LT, '^');
addAll('$', LT, '$$');
addAll('^\\w|\\w$', LT, '#');
addAll('$', 'a\r\nb', '|');
addAll('^$', '\n\n\r\r\n', 'E');
// \d \w \b \s are ASCII / JavaScript's white space.
addAll('\\d+', '12 \uFF11\uFF12 \u0663 9', '<$&>');
addAll('\\w+', 'abc_9 \u00E9t\u00E9 \u0101 K\u212A', '<$&>');
addAll('\\b', 'ab \u00E9c d_1', '|');
addAll('\\B', 'ab \u00E9c', '|');
addAll('\\s', 'a\tb\u000Bc\fd e\u00A0f\u1680g\u2000h\u200Ai\u200Bj\u202Fk\u205Fl\u3000m\uFEFFn\u0085o\u180Ep', '_');
addAll('\\S+', 'a\u3000b\uFEFFc', '<$&>');
addAll('[\\s\\S]', 'a\nb', '.');
addAll('[^\\d\\s]+', 'ab1 cd\t2', '<$&>');
addAll('\\W\\D', 'a!1?x', '<$&>');
// Case-insensitive comparison by JavaScript's simple mapping.
for (const p of ['k', 'K', 's', 'S', '\u017F', '\u212A', '\u00DF', '\u1E9E', '\u03C3', '\u03A3', '\u03C2',
                 '\u00B5', '\u039C', '\u0130', 'i', '\u0131', '\u01C5', '\u01C4', '\u1F80', '\u2126', '\u00E5', '\u212B',
                 '[a-z]', '[^a-z]', '[k]', '[\u212A]', '[\u00E0-\u00FF]', '[\u03C3-\u03C9]', '\\w', '[\\w]', '[^\\W]', '[\\W]']) {
  add(p, 'gi', 'kK\u212As S\u017F\u00DF\u1E9E\u03C3\u03A3\u03C2\u00B5\u039C\u03BC i I\u0130\u0131 \u01C4\u01C5\u01C6 \u1F80\u1F88 \u2126\u03A9\u03C9 \u00E5\u00C5\u212B', '[$&]');
}
add('(a)\\1', 'gi', 'aA Aa aa', '<$&>');
add('(\u03C3)\\1', 'gi', '\u03C3\u03A3\u03C2', '<$&>');
add('(k)\\1', 'gi', 'k\u212A kK', '<$&>');
add('[A-Z]', 'gi', 'abc\u017F\u212A', '#');
add('\\u0041', 'gi', 'aA', '#');
// Back-references to groups that did not take part, forward and self references.
addAll('(a)|b\\1', 'ab b', '<$&>');
addAll('\\1(a)', 'aa', '<$&|$1>');
addAll('(a\\1)', 'aa', '<$&|$1>');
addAll('(?:(a)|b)\\1c', 'bc aac', '<$&>');
addAll('(a)?b\\1', 'b ab aba', '<$&>');
// Captures are cleared at each iteration of a quantifier.
addAll('(?:(a)|b)+', 'ab ba', '<$1>');
addAll('(?:(a)|(b))+', 'ab ba aab', '<$1|$2>');
addAll('(z)((a+)?(b+)?(c))*', 'zaacbbbcac', '[$1,$2,$3,$4,$5]');
addAll('((a)|b)*c', 'abc bac', '[$1,$2]');
// Iterations that match the empty string.
addAll('(a*)*', 'b aa', '<$1>');
addAll('(a*)+', 'b aa', '<$1>');
addAll('(?:|a)*', 'aab', '<$&>');
addAll('(?:|a)?', 'ab', '<$&>');
addAll('(a|)+b', 'aab b', '<$&|$1>');
addAll('(?:a?)*?b', 'aab', '<$&>');
addAll('(a?)??b', 'ab', '<$&|$1>');
addAll('(?:a??)+', 'aa', '<$&>');
addAll('(?:a??|b){2,3}', 'aab', '<$&>');
addAll('(?:\\b|a)+', 'ab', '<$&>');
// A group with captures that can match the empty string, repeated with a minimum of one
// or more: once an iteration has matched the empty string, PCRE2 ends the loop where
// JavaScript tries another iteration that is not empty.
add('(a??)+', 'g', 'aa', '<$&|$1>', 'a repeated group with captures stops after an empty first iteration');
add('(a??){2,3}', 'g', 'aaa', '<$&|$1>', 'a repeated group with captures stops after an empty iteration within its minimum');
// Empty matches advance by one unit, without regard to surrogate pairs.
addAll('', 'ab\uD83D\uDE00', '-');
addAll('x*', 'axxb', '-');
addAll('a*?', 'aa', '-');
addAll('(?=a)', 'aab', '^');
addAll('\\b', '\uD83D\uDE00a', '|');
// [] [^] and classes.
addAll('[]', 'abc', '#');
addAll('[^]', 'a\nb', '#');
addAll('a[]*b', 'ab', '#');
addAll('[a-c-e]', 'abcde-', '#');
addAll('[\\d-z]', '1-z y', '#');
addAll('[a\\-z]', 'a-z y', '#');
addAll('[\\b]', 'a\bb', '#');
addAll('[-a]', '-ab', '#');
addAll('[a-]', '-ab', '#');
addAll('[\\]]', 'a]b', '#');
addAll('[^\\]]+', 'a]b', '#');
addAll(']', 'a]b', '#');
addAll('[\uD800-\uDBFF]', 'a\uD83D\uDE00b\uD800', '#');
addAll('[\uD83D\uDE00]', '\uD83D\uDE00\uDE00', '#');
// \cX, \0, legacy octal, \x, \u, identity escapes.
addAll('\\cJ', 'a\nb', '#');
addAll('\\cj', 'a\nb', '#');
addAll('\\c1', 'a\\c1b', '#');
addAll('\\c', 'a\\cb', '#');
addAll('[\\c1]', '\u0011', '#');
addAll('[\\c_]', '\u001F', '#');
addAll('[\\c]', 'a\\c', '#');
addAll('\\0', 'a\u0000b', '#');
addAll('\\00', 'a\u0000b', '#');
addAll('\\08', 'a\u00008b', '#');
addAll('\\1', 'a\u0001b', '#');
addAll('\\12', 'a\nb', '#');
addAll('\\123', 'aSb', '#');
addAll('\\377', '\u00FF', '#');
addAll('\\400', ' 0', '#');
addAll('\\8\\9', '89', '#');
addAll('(a)\\10', 'aa0 a\b', '#');
addAll('[\\1-\\3]', '\u0002', '#');
addAll('[\\8]', '8', '#');
addAll('\\x41\\x4', 'Ax4', '#');
addAll('\\u0041\\u004', 'Au004', '#');
addAll('\\u{2}', 'uu u{2}', '#');
addAll('\\uD83D\\uDE00', '\uD83D\uDE00', '#');
addAll('\\a\\e\\g\\h\\i\\j\\l\\m\\o\\p\\q\\y\\z', 'aeghijlmopqyz', '#');
addAll('\\A\\C\\E\\G\\H\\K\\L\\N\\P\\Q\\R\\U\\V\\X\\Y\\Z', 'ACEGHKLNPQRUVXYZ', '#');
addAll('\\k', 'k', '#');
addAll('\\Qa.b\\E', 'Qa.bE QaxbE', '#');
addAll('a\\z', 'az a', '#');
addAll('\\Aa', 'Aa a', '#');
addAll('\\h\\R\\X', 'hRX', '#');
addAll('\\/', 'a/b', '#');
addAll('\\-\\.\\*', '-.*', '#');
// Braces: quantifiers or literals.
addAll('a{2}', 'aaa', '#');
addAll('a{2,}', 'aaaa a', '#');
addAll('a{1,2}?', 'aaa', '#');
addAll('a{,2}', 'a{,2}', '#');
addAll('a{', 'a{', '#');
addAll('a{1', 'a{1', '#');
addAll('a{x}', 'a{x}', '#');
addAll('}', 'a}', '#');
addAll('x{0}', 'x', '#');
addAll('(x){0}y', 'xy', '<$1>');
// Lookaround.
addAll('a(?=b)', 'ab ac', '#');
addAll('a(?!b)', 'ab ac', '#');
addAll('(?<=a)b', 'ab cb', '#');
addAll('(?<!a)b', 'ab cb', '#');
addAll('(?<=ab|c)d', 'abd cd bd', '#');
addAll('(?=(a))a\\1', 'aa', '<$1>');
addAll('(?!(a))b\\1', 'b', '<$1>');
addAll('(?=a)*b', 'ab b', '#');
addAll('(?=(a))?', 'a', '<$1>');
addAll('(?=a)+a', 'a', '#');
addAll('(?<=\\$)\\d+', '$12 34', '#');
// Named groups.
addAll('(?<y>\\d{4})-(?<m>\\d\\d)', '2024-05', '$<m>/$<y> $2');
addAll('(?<a>x)\\k<a>', 'xx', '[$<a>]');
addAll('(?<a>x)|y', 'y', '[$<a>][$<b>][$<a]');
addAll('(?<\u00E9>x)', 'x', '[$<\u00E9>]');
addAll('(?<$_a1>x)', 'x', '[$<$_a1>]');
// A name with a character beyond U+FFFF, written as its surrogate pair.
addAll('(?<\u{1D465}\u{1D466}>x)\\k<\u{1D465}\u{1D466}>', 'xx', '[$<\u{1D465}\u{1D466}>]');
addAll('(x)', 'x', '[$<a>]');
// Replacement syntax.
for (const r of ['$1', '$2', '$01', '$10', '$11', '$12', '$00', '$0', '$011', '$$', '$', 'a$', '$&$&', '$`', "$'",
                 '$`|$\'', '$x', '$<', '$1$', '[$+]', '$ 1', '$-1', '\\$1', '$99', '$9']) {
  add('(b)(c)', 'g', 'abcd bc', r);
  add('(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)', '', 'abcdefghijk!', r);
}
add('b', 'g', 'abcb', '$1$2');
add('(b)', '', 'abcb', '$11 $10 $1');
// Global off: first match only; global on: each match.
addAll('o', 'foo boo', '0', ['g', '']);
// Invalid patterns: node refuses them, so must the object.
for (const p of ['(', ')', 'a)', '(a', '[a', '[', 'a**', 'a*+', 'a++', 'a?+', '*', '+a', '?', '{1}', 'a{2,1}',
                 '\\', 'a\\', '(?i)a', '(?>a)', '(?#c)', '(?P<n>a)', '(?|a)', '(?<n>a)(?<n>b)', '(?<1>a)',
                 '(?<>a)', '(?<n>a)\\k<m>', '(?<n>a)\\k', '[b-a]', '[\\d-\\w]a{2,1}', '^*', '$+', '\\b*', '(?<=a)*',
                 'a{1}{2}', 'x|*', '(?<a', '(?:', '(?=']) {
  add(p, 'g', 'abc', '#');
}
// Catastrophic backtracking ends in an error, not a hang (node itself would backtrack on).
cases.push({ pattern: '(a+)+$', flags: 'g', text: 'a'.repeat(40) + 'b', replacement: '#',
             error: 'stopped after too much backtracking (node would take hours)' });
cases.push({ pattern: '(x+x+)+y', flags: '', text: 'x'.repeat(40) + 'zy', replacement: '#',
             error: 'stopped after too much backtracking (node would take hours)' });
// Lookbehinds of changing length: node takes them, PCRE2 10.42 cannot run them.
add('(?<=a+)b', 'g', 'aab b', '#', 'lookbehind of changing length is refused with a message');
add('(?<=(a|bc))d', 'g', 'ad bcd', '#', 'lookbehind of changing length is refused with a message');
add('(?<=\\1(a))b', 'g', 'aab', '#', 'back-reference inside a lookbehind is refused with a message');
// Large counts.
add('a{65536}', 'g', 'a', '#', 'repeat counts above 65535 are refused with a message');
// A back-reference to a group of the same quantified atom sees the group cleared at each
// iteration.
addAll('(?:(a)|b\\1)+', 'ab aba', '<$&>');
addAll('(?:(a)|b\\1)+c', 'abac', '<$&|$1>');
addAll('(a\\1)+', 'aaa', '<$&|$1>');
addAll('(?:(a)|(b)\\1\\2)+', 'abbab', '<$&>');
addAll('((a)|b\\2)*', 'abab', '<$&|$2>');
addAll('(?:(?:(a)|b)\\1)+', 'aabb', '<$&>');
addAll('(?:(a)|b)+\\1', 'aba ab', '<$&>');
addAll('(?<n>a|b\\k<n>)+', 'abab', '<$&|$<n>>');

// ---- random ----------------------------------------------------------------------------
// mulberry32: small, seeded, and good in its low bits too.
let seed = 20261208;
function rnd(n) {
  seed = (seed + 0x6D2B79F5) | 0;
  let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
  return ((t ^ (t >>> 14)) >>> 0) % n;
}
function pick(a) { return a[rnd(a.length)]; }
const UNITS = ['a', 'A', 'b', 'B', 'k', 'K', '\u212A', 's', '\u017F', '\u03C3', '\u03A3', '\u03C2', '\u00E9', '\u00C9',
               '\r', '\n', '\u2028', ' ', '_', '1', '\uD83D', '\uDE00', '-'];
function randText() {
  let s = '';
  const n = rnd(12);
  for (let i = 0; i < n; ++i) s += pick(UNITS);
  if (rnd(4) === 0) s += '\uD83D\uDE00';
  return s;
}
const LIT = ['a', 'A', 'b', 'k', 's', '\u03C3', '\u00E9', '\\r', '\\n', ' ', '_', '1', '\\uD83D', '\\uDE00', '\\u212A', '\\-'];
const CLS = ['[ab]', '[^a]', '[a-z]', '[A-Z]', '[^\\s]', '[\\w-]', '[\\u00E0-\\u00FF]', '[\\uD800-\\uDFFF]', '[^]', '[\\r\\n]',
             '[kK]', '[\\u03C3\\u03C2]'];
const ESC = ['\\d', '\\w', '\\s', '\\W', '\\S', '.', '\\D'];
const ASSERT = ['^', '$', '\\b', '\\B'];
const QUANT = ['*', '+', '?', '{0,2}', '{1,2}', '{2}', '*?', '+?', '??', '{0,2}?'];
let groups = 0;
function randAtom(depth) {
  const r = rnd(depth > 2 ? 7 : 10);
  if (r < 3) return pick(LIT);
  if (r < 4) return pick(CLS);
  if (r < 6) return pick(ESC);
  if (r < 7) return groups > 0 ? '\\' + (1 + rnd(groups)) : pick(LIT);
  if (r < 8) { ++groups; return '(' + randAlt(depth + 1) + ')'; }
  if (r < 9) return '(?:' + randAlt(depth + 1) + ')';
  return pick(['(?=', '(?!']) + randAlt(depth + 1) + ')';
}
function randSeq(depth) {
  let s = '';
  const n = 1 + rnd(3);
  for (let i = 0; i < n; ++i) {
    if (rnd(8) === 0) { s += pick(ASSERT); continue; }
    s += randAtom(depth);
    if (rnd(3) === 0) s += pick(QUANT);
  }
  return s;
}
function randAlt(depth) {
  let s = randSeq(depth);
  while (rnd(4) === 0) s += '|' + randSeq(depth);
  return s;
}
const REPL = ['#', '<$&>', '$1', '[$1|$2]', '$`', "$'", '$$', '$', '$0', '$10', '($1)', ''];
const FLAGS = ['', 'g', 'gi', 'gm', 'gim', 'i', 'm'];
let made = 0;
while (made < 1400) {
  groups = 0;
  const p = randAlt(0);
  try { new RegExp(p); } catch (e) { continue; }
  const f = pick(FLAGS);
  for (let k = 0; k < 2; ++k) add(p, f, randText(), pick(REPL));
  made += 2;
}

let out = '# Generated by tests/tools/gen_regexp_fixtures.js from node ' + process.version + '; do not edit.\n';
for (const c of cases) {
  out += '\npattern ' + esc(c.pattern) + '\nflags ' + (c.flags || '-') + '\ntext ' + esc(c.text) +
         '\nreplacement ' + esc(c.replacement) + '\n';
  if ('error' in c) out += 'error ' + esc(c.error) + '\n';
  else out += 'result ' + esc(c.result) + '\n';
  if (c.known) out += 'known ' + c.known + '\n';
}
fs.writeFileSync(OUT, out);
console.log(cases.length + ' cases written to ' + OUT);
