# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# A Pelomart change file: one human record, then CR LF. docs/FORMAT.md describes it byte
# by byte. The ids of the values are the box names that `pelomart-chg show --json` and
# `make` use, so that a parsed file and the JSON line up; the other ids name what the
# bytes hold. Each fixed value is checked as Pelomart's reader checks it, so a file that
# parses here is one that Pelomart opens.
meta:
  id: pelomart_change
  title: Pelomart change file (one human character for a mission)
  application: Pelomart
  file-extension: chg
  xref:
    mime: application/x-pelomart-change
  license: MIT
  ks-version: 0.9
  endian: le
  # The system's single-byte code page of whoever made the file; Pelomart writes
  # windows-1252 under C and Western European locales. Texts made under another code
  # page (windows-1250, windows-1251, ...) read right once this line names it.
  encoding: windows-1252
doc: |
  One human character added to a mission of the game: position, scale, rotation, names,
  behaviour, type, sixteen fixed parameters and a start-up script, in one record of at
  most 32,767 bytes that ends with CR LF. All numbers are little-endian.
seq:
  - id: magic
    contents: [0xd2, 0x04]
  - id: record_length
    type: s2
    doc: Bytes of the whole record, from offset 0 to the end of the script, without the CR LF.
    valid:
      expr: _ == _io.size - 2
  - id: record_length_high
    type: s2
    valid: 0
  - id: record_format
    type: s2
    valid: 100
  - id: block_length
    type: s2
    doc: Bytes from offset 6 (the record format) to the end of the model name.
  - id: block_length_high
    type: s2
    valid: 0
  - id: fixed_value
    type: s2
    valid: 9
  - id: reserved1
    type: s2
    valid: 0
  - id: x
    type: f4
    doc: Position x.
  - id: y
    type: f4
    doc: Position y.
  - id: z
    type: f4
    doc: Position z.
  - id: xscalesing
    type: f4
    doc: Scale x.
  - id: yscalesing
    type: f4
    doc: Scale y.
  - id: zscalesing
    type: f4
    doc: Scale z.
  - id: xrotsing
    type: f4
    doc: Rotation, x component.
  - id: yrotsing
    type: f4
    doc: Rotation, y component.
  - id: zrotsing
    type: f4
    doc: Rotation, z component.
  - id: reserved2
    type: s2
    valid: 0
  - id: reserved3
    type: s2
    valid: 0
  - id: namn_len
    type: s4
    valid:
      min: 0
  - id: namn
    type: str
    size: namn_len
    doc: The human's internal name.
  - id: sector_name_len
    type: s4
    valid: 14
  - id: sector_name
    contents: Primary sector
  - id: model_len
    type: s4
    # The block length is checked here, once the bytes it counts are known.
    valid:
      expr: _ >= 0 and block_length == 76 + namn_len + _
  - id: model
    type: str
    size: model_len
    doc: File name of the human's 3D model.
  - id: human_section
    type: s2
    valid: 200
  - id: human_section_id
    type: s4
    valid: 595
  - id: human_section_count
    type: s2
    valid: 27
  - id: reserved4
    type: s2
    valid: 0
  - id: human_kind
    type: u1
    valid: 6
  - id: behavior
    type: s4
    enum: behaviour
    doc: |
      The behaviour's code. Pelomart's list offers the codes of the enum; a file may hold
      any other, which Pelomart shows but does not make.
  - id: paramlong1
    type: s4
    doc: The type parameter; 0 to 28 is a man, above 28 a woman.
  - id: paramsing2
    type: f4
  - id: paramsing3
    type: f4
  - id: paramsing4
    type: f4
  - id: paramsing5
    type: f4
  - id: paramsing6
    type: f4
  - id: paramsing7
    type: f4
  - id: paramsing8
    type: f4
  - id: paramsing9
    type: f4
  - id: paramsing10
    type: f4
  - id: paramsing11
    type: f4
  - id: paramsing12
    type: f4
  - id: paramsing13
    type: f4
  - id: paramsing14
    type: f4
  - id: paramsing15
    type: f4
  - id: paramsing16
    type: f4
  - id: paramsing17
    type: f4
  - id: script_section
    type: s4
    valid: 257
  - id: reserved5
    type: s2
    valid: 0
  - id: script_len
    type: s4
    # The record length is checked here, once the bytes it counts are known.
    valid:
      expr: _ >= 0 and record_length == 175 + namn_len + model_len + _
  - id: script
    type: str
    size: script_len
    doc: The start-up script; its lines are separated by CR LF.
  - id: line_end
    contents: [0x0d, 0x0a]
enums:
  # The names of Pelomart's behaviour list. The game takes 23, not 32, as React on Attack.
  behaviour:
    0: duck
    2: no_reaction
    4: no_reaction_on_weapon
    8: react_when_hit
    16: reaction_on_player
    23: react_on_attack
    64: react_on_attack2
    128: afraid
