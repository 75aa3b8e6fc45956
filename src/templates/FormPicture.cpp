#include "templates/FormPicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace corvane {

namespace {

// libjpeg's default error handler ends the process; jump back out instead.
struct JpegErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}

void onJpegMessage(j_common_ptr) {}

}

namespace {

// The caller owns `image`, so its value is well defined after a jump back here.
bool decodeInto(const QByteArray& data, QImage& image)
{
    jpeg_decompress_struct info{};
    JpegErrorManager errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegError;
    errors.manager.output_message = onJpegMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}

QImage decodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    QImage image;
    if (!decodeInto(data, image))
        return {};
    return image;
}

QImage formPicture(const WaybillTemplate& waybillTemplate)
{
    QFile file(waybillTemplate.pictureResource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeJpeg(file.readAll());
}

}
