// Texts the module shows. The Windows build stores them in code page 932.
#ifndef TALLORIX_RES_MESSAGES_H
#define TALLORIX_RES_MESSAGES_H

#define MSG_OUT_OF_MEMORY "VlfSort.vlf: Not enough memory, size=%u error-code=%u"

#define MSG_ORDER_OPEN_FAILED "並び順指定ファイルがロード出来ませんでした。"
#define MSG_ORDER_TOO_LARGE "並び順指定ファイルが大きすぎます。４メガバイト以下でないとダメです。"
#define MSG_ORDER_NO_MEMORY "並び順指定ファイルを読み込む用のメモリが確保出来ませんでした。"
#define MSG_ORDER_NOT_UTF16 \
    "並び順指定ファイルがUTF-16(BOMあり)になってません。UTF-16(BOMあり)形式で保存しなおしてください。"

#endif
