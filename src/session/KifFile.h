// Record files: the three forms a game is saved in, their encodings, and writing a file so that a
// crash leaves either the old file or the new one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// .kif: KIF in CP932 (the Windows form of Shift_JIS that shogi programs expect of .kif), CR LF;
// .kifu: KIF in UTF-8, CR LF; .txt: the record as the clipboard gets it, UTF-8, CR LF.
enum class RecordForm { Kif, Kifu, Text };

// The form named by the file's extension (any case); throws std::invalid_argument for any other.
RecordForm RecordFormOf(const std::filesystem::path& path);

// UTF-8 to CP932 and back through the C library's converter. Encoding throws std::runtime_error for a
// character CP932 cannot hold; decoding throws TKifError naming the line of the first byte that is not
// CP932.
std::string EncodeCp932(std::string_view utf8);
std::string DecodeCp932(std::string_view bytes);
// Throws TKifError naming the line of the first byte sequence that is not UTF-8.
void CheckUtf8(std::string_view bytes);

// LF line ends to CR LF.
std::string WithCrLf(std::string_view text);

// Writes a temporary file beside path and renames it over path, so that a crash leaves the old file or
// the new one, and a hard link to the old file keeps the old record. A symbolic link is followed: the
// file it names is replaced, the link stays. The new file has mode 0644. With flush, the new file is on
// the disk before the rename (a power cut cannot leave an empty file under the name either); the flush
// waits for the disk, a few milliseconds. Temporary files left in the folder by a program killed while
// it saved are removed once they are a minute old. Throws std::runtime_error naming the file and the
// system's reason (also for a path that is neither a regular file nor a link to one); the temporary
// file is removed then.
void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes, bool flush = true);

// The KIF or KI2 text (UTF-8) of a .kif or .ki2 file (CP932) or a .kifu or .ki2u file (UTF-8). Only a
// regular file is read (a FIFO or a device is refused at once, without waiting). Throws TKifError when
// the file cannot be opened or read, is not a regular file or not one of those forms, is empty, too
// large or wrongly encoded.
std::string ReadKifFile(const std::filesystem::path& path);
// The same checks for a record pasted as text: its size, and the record as the clipboard copy gives it,
// which is for people to read (TKifError).
void CheckPastedText(std::string_view text);
