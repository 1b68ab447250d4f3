#include "app/logic/app_state.h"

#include "file/text_file.h"

Selection g_selection;
int32_t g_profileFolderFlag = 0;
TextFile g_textFile;
