#include "module.h"

#include <string.h>

#include "report.h"

// 20-byte records from an x86 module, 40-byte ones from an x64 module: the
// natural layout of FilterRecord at each width.
static_assert(sizeof(FilterRecord) == (sizeof(void *) == 8 ? 40 : 20),
              "the list is read as the editor reads it");

// A list this long has lost its zero entry.
enum { MAX_FILTERS = 256 };

typedef DWORD(__cdecl *VersionFunction)(void);
typedef const FilterRecord *(__cdecl *EnumFunction)(void);

typedef void (*AnyFunction)(void);

// GetProcAddress as a function pointer of no particular type, which any
// other function pointer type may be cast from.
static AnyFunction Export(HMODULE module, const char *name)
{
    return (AnyFunction)(void *)GetProcAddress(module, name);
}

static bool IsZero(const FilterRecord *r)
{
    static const FilterRecord zero = {};
    return memcmp(r, &zero, sizeof zero) == 0;
}

bool LoadFilterModule(const wchar_t *path, const char *name, FilterModule *m)
{
    m->handle = LoadLibraryW(path);
    if (!m->handle) {
        Say("cannot load module %s: error %lu", name, GetLastError());
        return false;
    }
    VersionFunction version = (VersionFunction)Export(m->handle, "VeltraneFilterGetVersion");
    EnumFunction list = (EnumFunction)Export(m->handle, "EnumVeltraneFilter");
    if (!version || !list) {
        Say("module %s does not export %s", name,
            version ? "EnumVeltraneFilter" : "VeltraneFilterGetVersion");
        return false;
    }
    m->version = version();
    m->filters = list();
    if (!m->filters) {
        Say("EnumVeltraneFilter returned null");
        return false;
    }
    for (m->count = 0; !IsZero(&m->filters[m->count]); m->count++) {
        if (m->count == MAX_FILTERS) {
            Say("filter list has no zero entry within %d entries", MAX_FILTERS);
            return false;
        }
    }
    return true;
}

FilterFunction FindFilter(const FilterModule *m, int index)
{
    if (index >= m->count) {
        Say("module offers no filter");
        return NULL;
    }
    const char *name = m->filters[index].function;
    if (!name) {
        Say("filter %d has no function name", index);
        return NULL;
    }
    FilterFunction f = (FilterFunction)Export(m->handle, name);
    if (!f)
        Say("module does not export %s", name);
    return f;
}
