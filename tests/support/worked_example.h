// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace pelomart::test {

// The record that the shipped start values give, as the game reads it: one field a row,
// texts eight bytes a row. Offsets are decimal; N = 14, M = 23, S = 70.
inline std::string workedExampleRecord() {
    // clang-format off
    static const unsigned char bytes[] = {
        0xD2, 0x04,                                      // 0    magic
        0x1A, 0x01,                                      // 2    record length: 282
        0x00, 0x00,                                      // 4    record length, high half: 0
        0x64, 0x00,                                      // 6    record format: 100
        0x71, 0x00,                                      // 8    block length: 113, bytes 6 to 118
        0x00, 0x00,                                      // 10   block length, high half: 0
        0x09, 0x00,                                      // 12   fixed value: 9
        0x00, 0x00,                                      // 14   reserved: 0
        0x00, 0x80, 0xF7, 0xC4,                          // 16   position x: -1980
        0x00, 0x00, 0xA0, 0xC0,                          // 20   position y: -5
        0x00, 0x00, 0x90, 0x41,                          // 24   position z: 18
        0x00, 0x00, 0x80, 0x3F,                          // 28   scale x: 1
        0x00, 0x00, 0x80, 0x3F,                          // 32   scale y: 1
        0x00, 0x00, 0x80, 0x3F,                          // 36   scale z: 1
        0x91, 0x5F, 0x2E, 0x3F,                          // 40   rotation x: 0.6811457
        0x00, 0x00, 0x00, 0x00,                          // 44   rotation y: 0
        0x0C, 0x6E, 0x3B, 0xBF,                          // 48   rotation z: -0.73214793
        0x00, 0x00,                                      // 52   reserved: 0
        0x00, 0x00,                                      // 54   reserved: 0
        0x0E, 0x00, 0x00, 0x00,                          // 56   internal name length: 14
        0x5A, 0x6F, 0x7A, 0x65, 0x64, 0x27, 0x73, 0x5F,  // 60   internal name: Zozed's_
        0x44, 0x72, 0x69, 0x76, 0x65, 0x72,              //      Driver
        0x0E, 0x00, 0x00, 0x00,                          // 74   sector name length: 14
        0x50, 0x72, 0x69, 0x6D, 0x61, 0x72, 0x79, 0x20,  // 78   sector name: Primary 
        0x73, 0x65, 0x63, 0x74, 0x6F, 0x72,              //      sector
        0x17, 0x00, 0x00, 0x00,                          // 92   model name length: 23
        0x5A, 0x6F, 0x7A, 0x65, 0x64, 0x54, 0x41, 0x58,  // 96   model name: ZozedTAX
        0x49, 0x64, 0x72, 0x69, 0x76, 0x65, 0x72, 0x48,  //      IdriverH
        0x49, 0x47, 0x48, 0x2E, 0x69, 0x33, 0x64,        //      IGH.i3d
        0xC8, 0x00,                                      // 119  human section: 200
        0x53, 0x02, 0x00, 0x00,                          // 121  human section id: 595
        0x1B, 0x00,                                      // 125  human section count: 27
        0x00, 0x00,                                      // 127  reserved: 0
        0x06,                                            // 129  human kind: 6
        0x02, 0x00, 0x00, 0x00,                          // 130  behaviour code: 2 (No Reaction)
        0x0F, 0x00, 0x00, 0x00,                          // 134  type parameter: 15
        0x00, 0x00, 0x80, 0x3F,                          // 138  parameter 2: 1
        0x00, 0x00, 0x16, 0x43,                          // 142  parameter 3: 150
        0x00, 0x00, 0xF0, 0x41,                          // 146  parameter 4: 30
        0x00, 0x00, 0xF0, 0x41,                          // 150  parameter 5: 30
        0x00, 0x00, 0xF0, 0x41,                          // 154  parameter 6: 30
        0x00, 0x00, 0xF0, 0x41,                          // 158  parameter 7: 30
        0x33, 0x33, 0x33, 0x3F,                          // 162  parameter 8: 0.7
        0x00, 0x00, 0x80, 0x3F,                          // 166  parameter 9: 1
        0x00, 0x00, 0x00, 0x00,                          // 170  parameter 10: 0
        0x00, 0x00, 0x80, 0x3F,                          // 174  parameter 11: 1
        0x9A, 0x99, 0x99, 0x3E,                          // 178  parameter 12: 0.3
        0x00, 0x00, 0x80, 0x3F,                          // 182  parameter 13: 1
        0x00, 0x00, 0x80, 0x3F,                          // 186  parameter 14: 1
        0xCD, 0xCC, 0x4C, 0x3F,                          // 190  parameter 15: 0.8
        0x00, 0x00, 0xA0, 0x42,                          // 194  parameter 16: 80
        0xCD, 0xCC, 0x4C, 0x3F,                          // 198  parameter 17: 0.8
        0x01, 0x01, 0x00, 0x00,                          // 202  script section: 257
        0x00, 0x00,                                      // 206  reserved: 0
        0x46, 0x00, 0x00, 0x00,                          // 208  script length: 70
        0x64, 0x69, 0x6D, 0x5F, 0x61, 0x63, 0x74, 0x20,  // 212  script: dim_act 
        0x35, 0x0D, 0x0A, 0x64, 0x69, 0x6D, 0x5F, 0x66,  //      5\r\ndim_f
        0x6C, 0x74, 0x20, 0x35, 0x0D, 0x0A, 0x64, 0x69,  //      lt 5\r\ndi
        0x6D, 0x5F, 0x66, 0x72, 0x6D, 0x20, 0x35, 0x0D,  //      m_frm 5\r
        0x0A, 0x66, 0x69, 0x6E, 0x64, 0x61, 0x63, 0x74,  //      \nfindact
        0x6F, 0x72, 0x20, 0x30, 0x2C, 0x22, 0x22, 0x0D,  //      or 0,""\r
        0x0A, 0x66, 0x69, 0x6E, 0x64, 0x61, 0x63, 0x74,  //      \nfindact
        0x6F, 0x72, 0x20, 0x31, 0x2C, 0x22, 0x5A, 0x6F,  //      or 1,"Zo
        0x7A, 0x65, 0x64, 0x22, 0x0D, 0x0A,              //      zed"\r\n
    };
    // clang-format on
    static_assert(sizeof bytes == 282);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace pelomart::test
