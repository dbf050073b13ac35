// The clipboard in a browser: the asynchronous clipboard API, given one item, the PNG image
// (the one image type browsers take) or else the text. A browser without it, or that does
// not allow the page to write, is reported through the refusal. Qt's own clipboard is left
// unused: it hands the browser every format of the data, which the browser then refuses
// altogether.

#include "systemclipboard.h"

#include <emscripten.h>

#include <utility>

namespace {

// Why the browser did not take the data, as the page's script reports it.
enum Refusal
{
    NoImageClipboard = 1,
    NotAllowed = 2,
};

std::function<void(const QString&)>& pendingRefusal()
{
    static std::function<void(const QString&)> refused;
    return refused;
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void snoetjesmalClipboardRefused(int refusal)
{
    const auto refused = std::exchange(pendingRefusal(), {});
    if (!refused) {
        return;
    }
    refused(refusal == NoImageClipboard
                ? QStringLiteral("Deze browser laat een pagina geen afbeelding op het klembord "
                                 "zetten. Sla de emoticon op met \"Opslaan\".")
                : QStringLiteral("De browser stond niet toe dat de emoticon op het klembord "
                                 "werd gezet."));
}

// Writes size bytes at data as one clipboard item: a PNG image, or text in UTF-8. (The body
// passes through the C++ preprocessor, which splits "=>" and "===": it does without them.)
EM_JS(void, snoetjesmal_write_clipboard, (int isImage, const char* data, int size), {
    var bytes = HEAPU8.slice(data, data + size);
    var type = isImage ? 'image/png' : 'text/plain';
    function refuse(why)
    {
        _snoetjesmalClipboardRefused(why);
    }
    if (!navigator.clipboard || !navigator.clipboard.write || typeof ClipboardItem == 'undefined' ||
        (ClipboardItem.supports && !ClipboardItem.supports(type))) {
        refuse(1);
        return;
    }
    try {
        var parts = {};
        parts[type] = new Blob([bytes], {
            type:
                type
        });
        navigator.clipboard.write([new ClipboardItem(parts)]).catch(function() { refuse(2); });
    } catch (error) {
        refuse(2);
    }
});

namespace SystemClipboard {

void put(std::unique_ptr<QMimeData> data, std::function<void(const QString&)> refused)
{
    pendingRefusal() = std::move(refused);
    const QString png = QStringLiteral("image/png");
    const bool isImage = data->hasFormat(png);
    const QByteArray bytes = isImage ? data->data(png) : data->text().toUtf8();
    snoetjesmal_write_clipboard(isImage ? 1 : 0, bytes.constData(), int(bytes.size()));
}

bool dragsLeaveTheProgram()
{
    return false;
}

} // namespace SystemClipboard
