// SPDX-License-Identifier: GPL-3.0-or-later
#include "floors.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <jpeglib.h>

namespace {

struct Failure {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void failed(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<Failure*>(cinfo->err)->jump, 1); }

// Decodes at scale n/8 (8: full size) into RGB32 rows directly.
QImage decodeAtScale(const QByteArray& jpeg, QSize box, bool thumbnail) {
    jpeg_decompress_struct cinfo{};
    Failure err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = failed;
    QImage image;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRX;
    QSize drawn(int(cinfo.image_width), int(cinfo.image_height));
    if (thumbnail) {
        // The largest size of the picture's shape inside the box, truncated.
        const qint64 w = drawn.width(), h = drawn.height();
        drawn = w * box.height() >= h * box.width() ? QSize(box.width(), int(h * box.width() / w))
                                                     : QSize(int(w * box.height() / h), box.height());
        cinfo.scale_denom = 8;
        for (cinfo.scale_num = 1; cinfo.scale_num < 8; ++cinfo.scale_num) {
            jpeg_calc_output_dimensions(&cinfo);
            if (int(cinfo.output_width) >= drawn.width() && int(cinfo.output_height) >= drawn.height()) break;
        }
    }
    jpeg_start_decompress(&cinfo);
    image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (thumbnail && image.size() != drawn) image = image.scaled(drawn, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image;
}

}  // namespace

QByteArray floorRead(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat st {};
    QByteArray bytes;
    if (::fstat(fd, &st) == 0) {
        bytes.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n <= 0) break;
            done += n;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}

QImage floorDecode(const QByteArray& jpeg) { return decodeAtScale(jpeg, {}, false); }

QImage floorDecodeThumbnail(const QByteArray& jpeg, QSize box) { return decodeAtScale(jpeg, box, true); }

std::vector<std::vector<int>> floorReadNumberedSections(const QByteArray& ini, const std::vector<QByteArray>& keys) {
    std::vector<std::vector<int>> values;
    const char* at = ini.constData();
    const char* const end = at + ini.size();
    std::vector<int>* section = nullptr;
    while (at < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
        if (!lineEnd) lineEnd = end;
        while (at < lineEnd && (*at == ' ' || *at == '\t')) ++at;
        if (at < lineEnd && *at == '[') {
            section = nullptr;
            int n = 0;
            const char* d = at + 1;
            for (; d < lineEnd && *d >= '0' && *d <= '9'; ++d) n = n * 10 + (*d - '0');
            if (d > at + 1 && d < lineEnd && *d == ']' && n < (1 << 20)) {
                if (size_t(n) >= values.size()) values.resize(size_t(n) + 1, std::vector<int>(keys.size(), 0));
                section = &values[size_t(n)];
            }
        } else if (section) {
            const char* eq = static_cast<const char*>(std::memchr(at, '=', size_t(lineEnd - at)));
            if (eq) {
                for (size_t k = 0; k < keys.size(); ++k)
                    if (qsizetype(eq - at) == keys[k].size() && qstrnicmp(at, keys[k].constData(), keys[k].size()) == 0) {
                        (*section)[k] = std::atoi(eq + 1);
                        break;
                    }
            }
        }
        at = lineEnd + 1;
    }
    return values;
}

void floorOnTwoThreads(int count, const std::function<void(int)>& work) {
    std::atomic<int> next{0};
    const auto run = [&] {
        for (int i; (i = next.fetch_add(1)) < count;) work(i);
    };
    std::thread other(run);
    run();
    other.join();
}

void floorWriteSynced(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return;
    if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size()) std::perror("floorWriteSynced");
    ::fsync(fd);
    ::close(fd);
}

void floorSyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
