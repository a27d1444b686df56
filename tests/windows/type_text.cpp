// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// Types the UTF-8 text of a file into the window that has the keyboard focus, one Unicode
// key press per UTF-16 unit (SendInput with KEYEVENTF_UNICODE), as an input method does. X
// key events cannot carry letters that the keyboard layout lacks into Wine; these can.
//   type_text.exe FILE
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::string utf8{std::istreambuf_iterator<char>(file), {}};
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), length);
    for (const wchar_t unit : text) {
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = unit;
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        if (SendInput(2, keys, sizeof(INPUT)) != 2) {
            return 1;
        }
        Sleep(20);
    }
    return file && length == int(text.size()) ? 0 : 1;
}
