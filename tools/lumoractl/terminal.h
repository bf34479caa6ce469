// The edges of lumoractl, where its texts meet the user's environment. Inside, texts are GBK as
// the program's own are. Arguments, standard input, standard output and standard error are in
// the environment's encoding: the locale's character set on Linux (UTF-8, or GBK where the
// locale says so; UTF-8 for the plain C locale), UTF-16 at a Windows console and the ANSI code
// page in a Windows pipe or file. `--encoding utf-8|gbk` names the encoding instead.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumora::ctl {

enum class Encoding { kUtf8, kGbk };

// "utf-8" (or "utf8") and "gbk", in either letter case.
std::optional<Encoding> ParseEncoding(std::string_view name);

// Takes the environment's encoding and returns the command line's words after the program's
// name: on Windows converted from UTF-16 to GBK, elsewhere as typed, so that file names stay as
// the system spells them (see ArgumentText).
std::vector<std::string> CommandLineWords(int argc, char** argv);

// What --encoding said; also the encoding CSV output and input default to.
void SetTerminalEncoding(Encoding encoding);
Encoding TerminalEncoding();
// --encoding: the terminal's encoding from now on.
void ChooseEncoding(Encoding encoding);
// The encoding --encoding named; nullopt when the environment's is used.
std::optional<Encoding> ChosenEncoding();

// An argument that the catalogue stores or looks up (a host, a user, a remark...) as GBK;
// nullopt when it is not valid in the terminal's encoding or holds a character GBK cannot.
std::optional<Text> ArgumentText(std::string_view argument);
// A line read from standard input, likewise.
std::optional<Text> InputText(std::string_view line);

inline constexpr char kNotATextMessage[] =
    "the text is not valid in the terminal's encoding, or holds a character GBK cannot";

// `bytes` in `from` as GBK; nullopt as for ArgumentText.
std::optional<Text> ToGbk(std::string_view bytes, Encoding from);
// `text` (GBK) spelt in `to`.
std::string FromGbk(std::string_view text, Encoding to);
// Whether `bytes` is well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

// Writes `text` (GBK) and a line end to `out`, in the terminal's encoding.
void PrintText(std::FILE* out, std::string_view text);

// Whether `stream` is a terminal (a console on Windows), where progress is worth showing.
bool IsTerminal(std::FILE* stream);

// Error messages: "lumoractl: " and `message` (GBK) on standard error.
void PrintError(std::string_view message);

// "lumoractl: FILE: MESSAGE" and `path` after it, on standard error: the file names as the system
// spells them (as they came on the command line), the message (GBK) in the terminal's encoding.
void PrintFileError(std::string_view file, std::string_view message, std::string_view path = {});

}  // namespace lumora::ctl
