// Unix paths as the Windows side sees them under Wine, where Z: is "/".
#ifndef TALLORIX_HOST_PATHS_H
#define TALLORIX_HOST_PATHS_H

// "/a/b" becomes "Z:\a\b"; any other path has its slashes turned into
// backslashes and is made absolute against the current directory, so a
// Windows path passes unchanged. An empty path stays empty. The result is
// from malloc; NULL when out of memory or the path cannot be resolved.
wchar_t *WindowsPath(const wchar_t *path);

#endif
