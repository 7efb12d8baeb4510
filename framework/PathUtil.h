#pragma once
// Paths as the program writes them use "\" and "/" freely (content paths come
// from a Windows heritage: "Data\Maps\ZQR_Lakes.map"). Every file access goes
// through nativePath(), so the file system only ever sees "/". Paths kept in
// memory and written to the log stay exactly as the program wrote them.

#include <string>

namespace orv {

/// The path as the file system wants it: every "\" turned into "/".
std::string nativePath(const std::string& path);

/// Joins a folder and a name, inserting "\" only when the folder does not
/// already end in "\" or "/".
std::string joinPath(const std::string& folder, const std::string& name);

/// The part after the last "/" or "\" (the whole text when there is none).
std::string fileNamePart(const std::string& path);

/// The path with everything from the last "." of its file name removed.
std::string removeExtension(const std::string& path);

/// The path with its extension (from the last "." of the file name) replaced
/// by `ext`, which includes its dot. A path without extension gets `ext` added.
std::string replaceExtension(const std::string& path, const std::string& ext);

/// True when a file or folder exists at the path (the runtime's status call).
bool pathExists(const std::string& path);

/// True when a regular file (not a folder) exists at the path.
bool isRegularFile(const std::string& path);

/// Deletes a file; false when there was nothing to delete or it failed.
bool deleteFile(const std::string& path);

} // namespace orv
