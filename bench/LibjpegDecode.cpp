// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "LibjpegDecode.h"

#include <cstdio>

#include <jpeglib.h>

bool decodeLibjpeg(
    const QByteArray& nativePath, unsigned denominator, std::vector<unsigned char>& pixels, int& width, int& height)
{
    FILE* file = std::fopen(nativePath.constData(), "rb");
    if (!file)
        return false;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    info.scale_num = 1;
    info.scale_denom = denominator;
    jpeg_start_decompress(&info);
    width = int(info.output_width);
    height = int(info.output_height);
    const size_t stride = size_t(width) * 4;
    pixels.resize(stride * size_t(height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + size_t(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return true;
}
