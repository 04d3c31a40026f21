// The module's settings that the host fills in as a user's choice would.
#ifndef TALLORIX_HOST_REGISTRY_H
#define TALLORIX_HOST_REGISTRY_H

// Stores path, converted to the ANSI code page, as the REG_SZ value
// CustomFile (its NUL counted) of the module's key under HKEY_CURRENT_USER.
// False, with the reason said, when the path has a character the code page
// lacks or the registry refuses.
bool StoreOrderFile(const wchar_t *path);

#endif
