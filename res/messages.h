// Texts the module shows. The Windows build stores them in code page 932.
#ifndef TALLORIX_RES_MESSAGES_H
#define TALLORIX_RES_MESSAGES_H

#define MSG_OUT_OF_MEMORY "VlfSort.vlf: Not enough memory, size=%u error-code=%u"

#endif
