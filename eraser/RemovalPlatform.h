#pragma once

#include <cstddef>
#include <memory>
#include <string>

// The few operating-system services that ErasePanel needs. The removal logic is written
// against this interface only; Win32Platform and PosixPlatform are the real programs'
// implementations, and the tests use a file tree held in memory.

// What the last failed operation reported, reduced to the cases the removal tells apart.
enum class PlatformError {
    None,
    DirNotEmpty, // a folder could not be removed because it still has entries
    NoMoreFiles, // an enumeration has returned every entry
    PathNotFound,
    Other, // access denied, file in use, path too long, ...
};

enum class PathKind {
    Missing,
    Directory,
    Other
};

struct PathStyle {
    char separator; // between a folder and an entry's name
    std::size_t maxPath; // path buffer size of the platform, terminating zero included
    bool caseInsensitive; // whether two spellings that differ only in case name one file
};

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false; // a real folder; links to folders count as files
    bool readOnly = false;
};

class DirectoryEnumeration {
public:
    virtual ~DirectoryEnumeration() = default;
    // Fills entry with the next entry. Returns false at the end or on an error;
    // RemovalPlatform::lastError() then says NoMoreFiles for a normal end.
    virtual bool next(DirectoryEntry& entry) = 0;
};

class RemovalPlatform {
public:
    virtual ~RemovalPlatform() = default;

    virtual PathStyle pathStyle() const = 0;

    // A plain modal message with an OK button; returns when the user has pressed it.
    virtual void messageBox(const std::string& caption, const std::string& text) = 0;

    // Whether a top-level window with exactly this title exists (any owner, any class).
    virtual bool findTopLevelWindow(const std::string& title) = 0;
    // The pause between two window look-ups.
    virtual void pauseBetweenLookups() = 0;

    // Removes an empty folder.
    virtual bool removeDirectory(const std::string& path) = 0;
    // Starts enumerating the entries of a folder ("." and ".." may be among them);
    // null when that cannot start. The enumeration is closed when the object is destroyed.
    virtual std::unique_ptr<DirectoryEnumeration> enumerate(const std::string& directory) = 0;
    // Clears the read-only state of a file.
    virtual bool setAttributesNormal(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // The reason of the last failed call above.
    virtual PlatformError lastError() const = 0;
    // Arranges for a program file to be deleted once it can no longer be running.
    virtual bool deleteAtRestart(const std::string& path) = 0;
    // Reads a whole (small) file; false when it cannot be read.
    virtual bool readFile(const std::string& path, std::string& contents) const = 0;
    // Removes what the installation of this folder registered outside it, once its program
    // is gone: on Windows the "Apps and features" entry, the Start menu shortcut, the
    // installation record, the ".vpf" association and the firewall rule. On Linux the
    // first stage has done that already.
    virtual void forgetInstallation(const std::string& folder) = 0;

    // What the installation folder check needs to know about a path.
    virtual PathKind kindOf(const std::string& path) const = 0;
    virtual bool isAbsolute(const std::string& path) const = 0;
    // The absolute, normalised form of an existing path (links resolved where the
    // platform has them); empty when the path does not exist.
    virtual std::string fullPath(const std::string& path) const = 0;
    // Whether a full path is the top folder of a file system (a drive, a share, a mount).
    virtual bool isFilesystemRoot(const std::string& fullPath) const = 0;
    // The user's home folder; empty when unknown.
    virtual std::string homeFolder() const = 0;
};
