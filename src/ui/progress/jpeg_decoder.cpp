#include "ui/progress/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h uses FILE and size_t without including their headers.
#include <jpeglib.h>

#include "core/limits.h"

namespace tomlet {

namespace {

struct ErrorManager {
    jpeg_error_mgr Standard;  // first, so that libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf Jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->Jump, 1);
}

void TreatWarningsAsErrors(j_common_ptr info, int level) {
    if (level < 0)
        JumpBack(info);
}

J_COLOR_SPACE OutputSpace(J_COLOR_SPACE stored) {
    switch (stored) {
        case JCS_GRAYSCALE:
            return JCS_GRAYSCALE;
        case JCS_CMYK:
        case JCS_YCCK:
            return JCS_CMYK;
        default:
            return JCS_RGB;
    }
}

// Makes the image that receives the rows; nullptr when it cannot be had.
unsigned char* PrepareImage(QImage* image, JDIMENSION width, JDIMENSION height, int components) {
    const QImage::Format format = components == 1   ? QImage::Format_Grayscale8
                                  : components == 3 ? QImage::Format_RGB888
                                                    : QImage::Format_RGBA8888;
    if (components != 1 && components != 3 && components != 4)
        return nullptr;
    *image = QImage(static_cast<int>(width), static_cast<int>(height), format);
    return image->isNull() ? nullptr : image->bits();
}

// Chooses the smallest of libjpeg's scales n/8 at which the picture still reaches the width or
// the height to fit (0 x 0: none), so that scaling it down to fit loses nothing; the whole picture
// when it is no larger.
void ScaleToFit(jpeg_decompress_struct* info, int fitWidth, int fitHeight) {
    if (fitWidth <= 0 || fitHeight <= 0)
        return;
    info->scale_denom = 8;
    for (info->scale_num = 1; info->scale_num < 8; ++info->scale_num) {
        jpeg_calc_output_dimensions(info);
        if (info->output_width >= static_cast<JDIMENSION>(fitWidth) ||
            info->output_height >= static_cast<JDIMENSION>(fitHeight))
            return;
    }
}

// libjpeg reports errors by calling back, and the callback leaves by longjmp to here. Only plain C
// objects may live in this frame, since a longjmp skips destructors.
bool DecodeInto(const unsigned char* data, unsigned long size, int fitWidth, int fitHeight,
                QImage* image) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.Standard);
    errors.Standard.error_exit = JumpBack;
    errors.Standard.emit_message = TreatWarningsAsErrors;
    if (setjmp(errors.Jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // Refused before anything is allocated for it: a header may claim any size.
    if (info.image_width > MaxPictureSide || info.image_height > MaxPictureSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = OutputSpace(info.jpeg_color_space);
    // What a progressive picture keeps whole is refused past the bound instead of taken: libjpeg
    // here has no backing store to spill to.
    info.mem->max_memory_to_use = MaxJpegDecodeBytes;
    ScaleToFit(&info, fitWidth, fitHeight);
    jpeg_start_decompress(&info);

    unsigned char* const bits =
        PrepareImage(image, info.output_width, info.output_height, info.output_components);
    if (bits == nullptr) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const size_t stride = static_cast<size_t>(image->bytesPerLine());
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// libjpeg hands CMYK over as stored by Adobe's writers: inverted.
QImage CmykToRgb(const QImage& cmyk) {
    QImage rgb(cmyk.size(), QImage::Format_RGB888);
    for (int y = 0; y < cmyk.height(); ++y) {
        const uchar* source = cmyk.constScanLine(y);
        uchar* target = rgb.scanLine(y);
        for (int x = 0; x < cmyk.width(); ++x, source += 4, target += 3) {
            const int black = source[3];
            for (int channel = 0; channel < 3; ++channel)
                target[channel] = static_cast<uchar>(source[channel] * black / 255);
        }
    }
    return rgb;
}

}  // namespace

QImage DecodeJpeg(QByteArrayView data, QSize fitInto) {
    QImage image;
    if (!DecodeInto(reinterpret_cast<const unsigned char*>(data.data()),
                    static_cast<unsigned long>(data.size()), fitInto.width(), fitInto.height(),
                    &image)) {
        return {};
    }
    return image.format() == QImage::Format_RGBA8888 ? CmykToRgb(image) : image;
}

}  // namespace tomlet
