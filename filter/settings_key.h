// Where the module keeps its settings, under HKEY_CURRENT_USER: the one
// spelling of the key and its values for the module, the stand-in host,
// the tools and the tests.
#ifndef TALLORIX_FILTER_SETTINGS_KEY_H
#define TALLORIX_FILTER_SETTINGS_KEY_H

#define SETTINGS_KEY "Software\\Corvanset\\Veltrane\\Corvanset_Sort_Filter_Custom1"
#define VALUE_CUSTOM_FILE "CustomFile"  // the order file's path, REG_SZ
#define VALUE_PARAMETER "Parameter"     // the last option string chosen, REG_SZ

#endif
