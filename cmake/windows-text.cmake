# cmake -DIN=... -DOUT=... [-DVERSION=...] -P windows-text.cmake
# A text for Windows users: UTF-8 behind a byte-order mark (Notepad of any
# age then reads it as UTF-8) with CR LF, @PROJECT_VERSION@ filled in.
file(READ "${IN}" text)
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE "${OUT}" "${bom}${text}")
