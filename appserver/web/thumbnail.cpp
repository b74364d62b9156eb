#include "appserver/web/thumbnail.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace qmv::appserver {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: it jumps back to the
// function that set `jump`. No C++ object with a destructor lives between setjmp and the jump.
struct JumpingErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1);
}

void quiet(j_common_ptr, int) {}

jpeg_error_mgr* jumping(JumpingErrors& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpOnError;
    errors.manager.emit_message = quiet;
    return &errors.manager;
}

struct Pixels {
    std::vector<unsigned char> rgb;
    unsigned width = 0, height = 0;
};

bool decodeScaled(const QByteArray& jpeg, int maxSide, Pixels& out)
{
    jpeg_decompress_struct info;
    JumpingErrors errors;
    info.err = jumping(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    const unsigned longer = std::max(info.image_width, info.image_height);
    info.scale_num = std::clamp(unsigned(maxSide) * 8 / std::max(longer, 1u), 1u, 8u);
    info.scale_denom = 8;
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_IFAST;
    jpeg_start_decompress(&info);
    out.width = info.output_width;
    out.height = info.output_height;
    out.rgb.resize(size_t(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + size_t(info.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool encode(const Pixels& pixels, unsigned char*& buffer, unsigned long& size)
{
    jpeg_compress_struct info;
    JumpingErrors errors;
    info.err = jumping(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = pixels.width;
    info.image_height = pixels.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 80, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(pixels.rgb.data()) + size_t(info.next_scanline) * pixels.width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool isJpeg(const QByteArray& bytes)
{
    return bytes.size() > 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

QByteArray jpegThumbnail(const QByteArray& jpeg, int maxSide)
{
    Pixels pixels;
    if (!isJpeg(jpeg) || maxSide <= 0 || !decodeScaled(jpeg, maxSide, pixels))
        return {};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool encoded = encode(pixels, buffer, size);
    QByteArray result = encoded ? QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size)) : QByteArray();
    std::free(buffer);
    return result;
}

}  // namespace qmv::appserver
