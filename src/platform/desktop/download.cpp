// The desktop saves faces in folders: there is no download.

#include "download.h"

Downloader browserDownload()
{
    return {};
}
