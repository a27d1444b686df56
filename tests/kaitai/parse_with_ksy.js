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

const floatKeys = ['x', 'y', 'z', 'xscalesing', 'yscalesing', 'zscalesing',
    'xrotsing', 'yrotsing', 'zrotsing'];
for (let i = 2; i <= 17; ++i) {
    floatKeys.push('paramsing' + i);
}
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

// The code of a name of the behaviour list, through the .ksy's own enum: "React on
// Attack" is REACT_ON_ATTACK.
function behaviourCode(Parser, name) {
    const code = Parser.Behaviour[name.toUpperCase().replace(/ /g, '_')];
    return code === undefined ? NaN : code;
}

function compare(Parser, file, shown) {
    const parsed = new Parser(new KaitaiStream(fs.readFileSync(file)));
    const where = path.basename(file);
    const failuresBefore = failures;
    for (const key of floatKeys) {
        // show prints the shortest text that reads back as the same float.
        const expected = floatBits(Math.fround(parseFloat(shown[key])));
        const found = floatBits(parsed[key]);
        if (found !== expected) {
            fail(`${where}: ${key}: ${parsed[key]} (bits ${found.toString(16)}), show --json says "${shown[key]}"`);
        }
    }
    for (const key of textKeys) {
        if (parsed[key] !== shown[key]) {
            fail(`${where}: ${key}: ${JSON.stringify(parsed[key])}, show --json says ${JSON.stringify(shown[key])}`);
        }
    }
    if (parsed.paramlong1 !== Number(shown.paramlong1)) {
        fail(`${where}: paramlong1: ${parsed.paramlong1}, show --json says "${shown.paramlong1}"`);
    }
    if (parsed.behavior !== behaviourCode(Parser, shown.behavior)) {
        fail(`${where}: behavior: ${parsed.behavior}, show --json says "${shown.behavior}"`);
    }
    // Every value of the record is one that show names, and the reverse.
    const ids = Object.keys(parsed).filter((id) => !id.startsWith('_'));
    const values = ids.filter((id) => id in shown);
    const missing = Object.keys(shown).filter((key) => key !== 'filenavn' && !ids.includes(key));
    if (missing.length > 0) {
        fail(`${where}: no field for ${missing.join(', ')}`);
    }
    if (failures === failuresBefore) {
        console.log(`ok: ${where}: ${values.length} fields agree`);
    }
}

async function main() {
    const ksy = yaml.load(fs.readFileSync(ksyPath, 'utf8'));
    const files = await compiler.compile('javascript', ksy, null, false);
    const names = Object.keys(files);
    if (names.length !== 1) {
        throw new Error('expected one parser, the compiler gave ' + names.join(', '));
    }
    const parserPath = path.join(workDir, names[0]);
    fs.writeFileSync(parserPath, files[names[0]]);
    const Parser = require(parserPath)[path.basename(names[0], '.js')];

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
