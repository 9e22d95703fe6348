#include "session/KifFile.h"

#include "session/Kif.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what, const std::filesystem::path& path, int error) {
    return what + " " + path.string() + ": " + std::strerror(error);
}

// One conversion through iconv. Returns the offset in the input of the first byte it could not
// convert, or npos when all was converted.
std::size_t Convert(const char* to, const char* from, std::string_view in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    out.clear();
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t used = 0;
    std::size_t failedAt = std::string_view::npos;
    while (srcLeft > 0) {
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (r != std::size_t(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        failedAt = in.size() - srcLeft; // EILSEQ, or EINVAL for a sequence cut off at the end
        break;
    }
    if (failedAt == std::string_view::npos) {
        // Lets a stateful encoding close its last shift; CP932 and UTF-8 have none, but it costs nothing.
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        iconv(cd, nullptr, nullptr, &dst, &dstLeft);
        used = out.size() - dstLeft;
    }
    iconv_close(cd);
    out.resize(used);
    return failedAt;
}

} // namespace

RecordForm RecordFormOf(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".kif") return RecordForm::Kif;
    if (ext == ".kifu") return RecordForm::Kifu;
    if (ext == ".txt") return RecordForm::Text;
    throw std::invalid_argument(
        "a record file ends in .kif (CP932), .kifu (UTF-8) or .txt (the record text), not \"" +
        path.filename().string() + "\"");
}

std::string EncodeCp932(std::string_view utf8) {
    std::string out;
    const std::size_t failed = Convert("CP932", "UTF-8", utf8, out);
    if (failed != std::string_view::npos)
        throw std::runtime_error("line " + std::to_string(KifLineOf(utf8, failed)) +
                                 " holds a character that CP932 cannot hold");
    return out;
}

std::string DecodeCp932(std::string_view bytes) {
    std::string out;
    const std::size_t failed = Convert("UTF-8", "CP932", bytes, out);
    if (failed != std::string_view::npos) throw TKifError(KifLineOf(bytes, failed), KifFault::NotCp932);
    return out;
}

void CheckUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (c < 0x80)
            n = 1, cp = c;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 2, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 3, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 4, cp = c & 0x07;
        bool good = n > 0 && i + n <= bytes.size();
        for (std::size_t k = 1; good && k < n; ++k) {
            const unsigned char d = static_cast<unsigned char>(bytes[i + k]);
            good = (d & 0xC0) == 0x80;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
        if (good && ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                     (cp >= 0xD800 && cp <= 0xDFFF)))
            good = false;
        if (!good) throw TKifError(KifLineOf(bytes, i), KifFault::NotUtf8);
        i += n;
    }
}

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t from = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos; nl = text.find('\n', nl + 1)) {
        out.append(text, from, nl - from);
        if (nl == 0 || text[nl - 1] != '\r') out += '\r';
        from = nl;
    }
    out.append(text, from);
    return out;
}

namespace {

// Temporary files are hidden and named for this program, ".game.kifu.mirutoa-tmp-Ab12Cd": one left by
// a program killed while it saved is known for what it is and removed later.
constexpr std::string_view kTempMark = ".mirutoa-tmp-";
// A save takes milliseconds: a temporary file this old belongs to no save still running.
constexpr auto kStaleAfter = std::chrono::minutes(1);

bool IsTempName(std::string_view name) {
    const std::size_t mark = name.rfind(kTempMark);
    return name.size() > 1 && name[0] == '.' && mark != std::string_view::npos &&
           name.size() - mark - kTempMark.size() == 6;
}

void RemoveStaleTemps(const std::filesystem::path& folder) {
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsTempName(it->path().filename().string())) continue;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || it->is_symlink(entryError)) continue;
        const auto time = it->last_write_time(entryError);
        if (!entryError && now - time > kStaleAfter) std::filesystem::remove(it->path(), entryError);
    }
}

// The file a save must replace: a symbolic link is followed, so that the link stays and the file it
// names gets the new record.
std::filesystem::path SaveTarget(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0) {
            const int error = errno;
            if (error == ENOENT) return target;
            throw std::runtime_error(SystemError("cannot write", path, error));
        }
        if (S_ISREG(st.st_mode)) return target;
        if (!S_ISLNK(st.st_mode))
            throw std::runtime_error("cannot write " + path.string() + ": not a regular file");
        if (hops == 40) throw std::runtime_error(SystemError("cannot write", path, ELOOP));
        std::error_code ec;
        const std::filesystem::path link = std::filesystem::read_symlink(target, ec);
        if (ec) throw std::runtime_error(SystemError("cannot write", path, ec.value()));
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

} // namespace

void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes, bool flush) {
    const std::filesystem::path target = SaveTarget(path);
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    RemoveStaleTemps(folder);
    std::string temp =
        (folder / ("." + target.filename().string())).string() + std::string(kTempMark) + "XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) throw std::runtime_error(SystemError("cannot write beside", path, errno));
    auto fail = [&](const char* what) {
        const int error = errno;
        close(fd);
        unlink(temp.c_str());
        throw std::runtime_error(SystemError(what, path, error));
    };
    // mkstemp makes the file readable by its owner only; a record is an ordinary document.
    if (fchmod(fd, 0644) != 0) fail("cannot write");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            fail("cannot write");
        }
        done += std::size_t(w);
    }
    if (flush && fsync(fd) != 0) fail("cannot write");
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        throw std::runtime_error(SystemError("cannot write", path, error));
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        throw std::runtime_error(SystemError("cannot write", path, error));
    }
}

void CheckPastedText(std::string_view text) {
    if (text.size() > kKifMaxBytes)
        throw TKifError(1, KifFault::TextTooLarge, {}, {std::to_string(text.size())});
    // The clipboard record opens with a line of hyphens and the game's title.
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) return;
    if (text.substr(begin, 32) == std::string(32, '-') && text.find("創作将棋 ミルトア", begin) < begin + 64)
        throw TKifError(0, KifFault::PastedCopy);
}

std::string ReadKifFile(const std::filesystem::path& path) {
    RecordForm form;
    try {
        form = RecordFormOf(path);
    } catch (const std::invalid_argument&) {
        // KI2 records are read, never written: the same encodings as KIF's under their own names.
        std::string ext = path.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (ext == ".ki2")
            form = RecordForm::Kif;
        else if (ext == ".ki2u")
            form = RecordForm::Kifu;
        else
            throw TKifError(0, KifFault::UnknownForm, {}, {path.filename().string()});
    }
    if (form == RecordForm::Text) throw TKifError(0, KifFault::TextForm);
    // Without blocking: a FIFO or a terminal under a record's name would otherwise wait for a writer
    // for good. Only a regular file is read at all.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) throw TKifError(0, KifFault::CannotOpen, {}, {path.string(), std::strerror(errno)});
    struct stat st;
    if (fstat(fd, &st) != 0) {
        const int error = errno;
        close(fd);
        throw TKifError(0, KifFault::CannotRead, {}, {path.string(), std::strerror(error)});
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        throw TKifError(0, KifFault::NotRegular, {}, {path.string()});
    }
    // Read up to one chunk past the limit: enough to know a file is too large without reading it all,
    // even one that grows while it is read.
    std::string bytes;
    std::array<char, 1 << 16> chunk;
    while (bytes.size() <= kKifMaxBytes) {
        const ssize_t r = read(fd, chunk.data(), chunk.size());
        if (r < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            close(fd);
            throw TKifError(0, KifFault::CannotRead, {}, {path.string(), std::strerror(error)});
        }
        if (r == 0) break;
        bytes.append(chunk.data(), std::size_t(r));
    }
    close(fd);
    if (bytes.size() > kKifMaxBytes)
        throw TKifError(1, KifFault::FileTooLarge, {}, {std::to_string(kKifMaxBytes)});
    if (form == RecordForm::Kif) return DecodeCp932(bytes);
    CheckUtf8(bytes);
    return bytes;
}
