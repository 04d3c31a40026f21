// Texts the options dialog shows outside its template. The Windows build
// stores them in code page 932.
#ifndef TALLORIX_RES_DIALOG_TEXTS_H
#define TALLORIX_RES_DIALOG_TEXTS_H

#define DIALOG_CAPTION "ソート (カスタム版)"

#define MSG_NUMERIC_OFF \
    "「並び順をファイルで指定」をONにすると、「数値の部分は数値の大小関係でソートする」はOFFになります。"

// The open-file dialog: one filter entry, the list ended by a double NUL
// (the literal adds the second).
#define BROWSE_FILTER "すべてのファイル (*.*)\0*.*\0"
#define BROWSE_TITLE "並び順指定ファイル"
#define BROWSE_INITIAL_DIR "."

#endif
