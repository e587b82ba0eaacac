// A fresh temporary directory per test that holds the program and its score log.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

class CScoreLogDir {
public:
    CScoreLogDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvik-scorelog-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary directory";
        }
        m_dir = pattern;
    }
    ~CScoreLogDir() {
        std::error_code ec;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_dir, ec);
    }
    CScoreLogDir(const CScoreLogDir&) = delete;
    CScoreLogDir& operator=(const CScoreLogDir&) = delete;

    const std::filesystem::path& Dir() const { return m_dir; }
    std::string ProgramPath() const { return (m_dir / "zorvik").string(); }
    std::string LogPath() const { return (m_dir / "zorvik.txt").string(); }

    void WriteLog(std::string_view text) const {
        std::ofstream out(LogPath(), std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::string ReadLog() const {
        std::ifstream in(LogPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool LogExists() const { return std::filesystem::exists(LogPath()); }

private:
    std::filesystem::path m_dir;
};

// The bytes and the modification time of a file, to prove that reading left it alone.
struct CFileSnapshot {
    std::string bytes;
    struct timespec mtime {};
    off_t nSize = 0;

    static CFileSnapshot Take(const CScoreLogDir& dir) {
        CFileSnapshot snap;
        snap.bytes = dir.ReadLog();
        struct stat st {};
        if (::stat(dir.LogPath().c_str(), &st) == 0) {
            snap.mtime = st.st_mtim;
            snap.nSize = st.st_size;
        }
        return snap;
    }
    bool operator==(const CFileSnapshot& o) const {
        return bytes == o.bytes && nSize == o.nSize && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};
