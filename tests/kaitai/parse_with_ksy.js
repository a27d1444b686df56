// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// Compiles the .ksy with the Kaitai Struct compiler, parses change files with the
// generated parser and compares every field with what `pelomart-chg show --json` read
// from the same files. Files after "--" must be refused by the parser, as pelomart-chg
// refuses them.
// usage: node parse_with_ksy.js KSY WORK-DIR SHOW-JSON FILE... -- REFUSED-FILE...
'use strict';
const fs = require('fs');
const path = require('path');
const yaml = require('js-yaml');
const compiler = require('kaitai-struct-compiler');
const KaitaiStream = require('kaitai-struct/KaitaiStream');

const [ksyPath, workDir, showJsonPath, ...rest] = process.argv.slice(2);
const split = rest.indexOf('--');
const goodFiles = split < 0 ? rest : rest.slice(0, split);
const refusedFiles = split < 0 ? [] : rest.slice(split + 1);

const textKeys = ['namn', 'model', 'script'];

function floatBits(value) {
    const view = new DataView(new ArrayBuffer(4));
    view.setFloat32(0, value, true);
    return view.getUint32(0, true);
}

let failures = 0;
function fail(message) {
    console.error('FAILED: ' + message);
    ++failures;
}

// Every key that show names (filenavn aside, which is no field) is a parsed field of the
// same value: texts as they are, the behaviour's name through the .ksy's own enum ("React
// on Attack" is REACT_ON_ATTACK), numbers as the same float bit for bit; show prints the
// shortest text that reads back as that float.
function compare(Parser, file, shown) {
    const parsed = new Parser(new KaitaiStream(fs.readFileSync(file)));
    const where = path.basename(file);
    const failuresBefore = failures;
    const keys = Object.keys(shown).filter((key) => key !== 'filenavn');
    for (const key of keys) {
        const value = parsed[key];
        const text = shown[key];
        const same = textKeys.includes(key) ? value === text
            : key === 'paramlong1' ? value === Number(text)
            : key === 'behavior' ? value === (Parser.Behaviour[text.toUpperCase().replace(/ /g, '_')] ?? NaN)
            : typeof value === 'number' && floatBits(value) === floatBits(parseFloat(text));
        if (!same) {
            fail(`${where}: ${key}: ${JSON.stringify(value)}, show --json says ${JSON.stringify(text)}`);
        }
    }
    if (failures === failuresBefore) {
        console.log(`ok: ${where}: ${keys.length} fields agree`);
    }
}

async function main() {
    const ksy = yaml.load(fs.readFileSync(ksyPath, 'utf8'));
    const files = await compiler.compile('javascript', ksy, null, false);
    // One .ksy without imports: one parser.
    const [name] = Object.keys(files);
    const parserPath = path.join(workDir, name);
    fs.writeFileSync(parserPath, files[name]);
    const Parser = require(parserPath)[path.basename(name, '.js')];

    const shown = JSON.parse(fs.readFileSync(showJsonPath, 'utf8'));
    if (shown.length !== goodFiles.length) {
        throw new Error(`show --json gave ${shown.length} objects for ${goodFiles.length} files`);
    }
    goodFiles.forEach((file, i) => compare(Parser, file, shown[i]));
    for (const file of refusedFiles) {
        try {
            new Parser(new KaitaiStream(fs.readFileSync(file)));
            fail(`${path.basename(file)}: parsed, but pelomart-chg refuses it`);
        } catch (error) {
            // A fault of the parser itself is no refusal.
            if (!(error.name in KaitaiStream)) {
                throw error;
            }
            console.log(`ok: ${path.basename(file)}: refused, ${error.name}`);
        }
    }
    process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
    console.error('FAILED: ' + (error.stack || error));
    process.exit(1);
});
