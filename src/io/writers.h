// Report-line writers: one value at a time into the current line of a report, or into a
// caller's line buffer with a 1-based column counter.
#pragma once

#include <string>
#include <string_view>

#include "io/textfile.h"

namespace torva {

void WRTREAL(TextFile& f, int w, int n, double x);  // report rule, w columns, n decimals
void WRTINT(TextFile& f, int w, long long v);
void WRTBLANK(TextFile& f, int n);
void WRTA10(TextFile& f, std::string_view text10);  // blank, 10 characters, blank
void WRTA6(TextFile& f, std::string_view text6);    // blank, 6 characters, blank
void WRTA1(TextFile& f, std::string_view text);
void WRTA2(TextFile& f, std::string_view text);
void WRTA3(TextFile& f, std::string_view text);
void WRTTRIM(TextFile& f, std::string_view text);   // without trailing blanks
void ENDLINE(TextFile& f);                          // one blank, then the line end

// Into a line buffer; `col` is 1-based and advanced by the columns written.
void BUFREAL(std::string& buf, int w, int n, double x, int& col);
void BUFBLANK(std::string& buf, int n, int& col);

}  // namespace torva
