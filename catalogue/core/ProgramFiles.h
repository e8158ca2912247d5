// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's files are.
//
// The program folder (ProgramDir) holds what comes with the program: the
// templates, images and style sheet that every page location points into,
// the shipped catalogue and the installed settings. The user's folder holds
// what the program writes: a downloaded base.db with its .part and .prev, and
// the settings once the user has changed them. A name means the same file in
// both ("base.db", "templ/config.txt"); the user's copy, when there is one,
// stands for the shipped one.
//
// A portable folder (the program with templ/ beside it) is both folders at
// once, so everything lies beside the executable. An installed program
// (executable in PREFIX/bin, its files in PREFIX/share/zorbinta) never writes
// its installed files: each user writes into $XDG_DATA_HOME/zorbinta/, by
// default ~/.local/share/zorbinta/.

#include <string>
#include <string_view>

namespace zorbinta {

// The catalogue, and the one a download replaced last, kept to show what
// changed.
inline constexpr const char* kCatalogueFile = "base.db";
inline constexpr const char* kPreviousCatalogueFile = "base.db.prev";

class ProgramFiles {
public:
    // A portable folder: everything in dir.
    explicit ProgramFiles(std::string dir);
    // An installed program: its own files in programDir, the user's in userDir.
    ProgramFiles(std::string programDir, std::string userDir);

    // Both end in "/"; they are the same folder in a portable one.
    const std::string& programDir() const { return programDir_; }
    const std::string& userDir() const { return userDir_; }
    bool portable() const { return programDir_ == userDir_; }

    // name (relative, with "/") in the user's folder: where the program writes it.
    std::string userFile(std::string_view name) const;
    // The file read for name: the user's when there is one, else the shipped one.
    std::string currentFile(std::string_view name) const;
    // Makes the user's folder, and the folders of name inside it, where they
    // are missing, before the program writes name there. A portable folder is
    // left as it is. Throws Error with the runtime's text ("File access
    // denied") when they cannot be made.
    void makeUserFolderFor(std::string_view name) const;

private:
    std::string programDir_;
    std::string userDir_;
};

// What the choice of folders reads from the process's environment.
struct UserEnvironment {
    std::string home;      // the user's home folder
    std::string dataHome;  // XDG_DATA_HOME; used only when it is an absolute path
};

// HOME, or the home folder of the password database without one, and
// XDG_DATA_HOME.
UserEnvironment currentUserEnvironment();

// The files of a program whose executable lies in executableDir: a portable
// folder when templ/ is beside it; installed when the executable is in
// PREFIX/bin and PREFIX/share/zorbinta/templ is a folder; otherwise portable,
// everything beside the executable.
ProgramFiles locateProgramFiles(const std::string& executableDir, const UserEnvironment& env);

}  // namespace zorbinta
