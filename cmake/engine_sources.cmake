# The sort engine's sources, for the native, Windows and fuzz builds; each
# adds its platform layer (engine/platform_native.cpp or platform_win.cpp).
# TALLORIX_ROOT is the top of the source tree.
set(ENGINE_SOURCES
  ${TALLORIX_ROOT}/engine/dictionary_order.cpp
  ${TALLORIX_ROOT}/engine/sort_orders.cpp
  ${TALLORIX_ROOT}/engine/key_edits.cpp
  ${TALLORIX_ROOT}/engine/order_file.cpp
  ${TALLORIX_ROOT}/engine/quicksort.cpp
  ${TALLORIX_ROOT}/engine/sort.cpp)
