// Picture files from anywhere: one pixel limit for JPEG and BMP that lets a
// real 5000 x 7000 photo through and refuses anything larger before a pixel
// buffer exists, with the memory that refusal costs measured.

#include "mycal/page_image.h"
#include "mycal/page_picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <optional>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace mekuri;

namespace {

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const Status st = writeJpeg(image, buffer, 50);
    if (!st.ok()) ADD_FAILURE() << qPrintable(st.error());
    return bytes;
}

// A small real JPEG whose frame header then claims width x height.
QByteArray jpegDeclaring(int width, int height) {
    QImage small(16, 16, QImage::Format_RGB888);
    small.fill(Qt::darkCyan);
    QByteArray jpeg = jpegOf(small);
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0) {
        ADD_FAILURE() << "no baseline frame header";
        return jpeg;
    }
    qToBigEndian<quint16>(quint16(height), jpeg.data() + sof + 5);
    qToBigEndian<quint16>(quint16(width), jpeg.data() + sof + 7);
    return jpeg;
}

// A 24-bit BMP header for width x height; pixel data only when withData.
QByteArray bmpDeclaring(qint32 width, qint32 height, bool withData) {
    const qint64 stride = (qint64(width) * 3 + 3) / 4 * 4;
    const qint64 dataSize = stride * std::abs(qint64(height));
    QByteArray bmp(54, '\0');
    uchar* p = reinterpret_cast<uchar*>(bmp.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + dataSize), p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    qToLittleEndian<quint32>(quint32(dataSize), p + 34);
    if (withData) bmp.append(QByteArray(qsizetype(dataSize), char(0x40)));
    return bmp;
}

// Peak resident memory since the mark, in bytes (Linux: VmHWM reset through
// clear_refs). nullopt where the system cannot measure it.
class PeakMemory {
public:
    PeakMemory() {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly) && clear.write("5") == 1) {
            clear.close();
            m_start = statusKb("VmRSS:");
        }
    }
    std::optional<qint64> growth() const {
        const std::optional<qint64> peak = statusKb("VmHWM:");
        if (!m_start || !peak) return std::nullopt;
        return (*peak - *m_start) * 1024;
    }

private:
public:
    static std::optional<qint64> statusKb(const char* field) {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly)) return std::nullopt;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(field)) {
                bool ok = false;
                const qint64 kb = line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLongLong(&ok);
                if (ok) return kb;
            }
        }
        return std::nullopt;
    }
    std::optional<qint64> m_start;
};

constexpr qint64 kHostileMemoryBudget = 50LL * 1024 * 1024;

struct HostileCase {
    const char* name;
    bool jpeg;
    int width;
    int height;
};

class OverTheLimitTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(OverTheLimitTest, RefusedWithTheLimitNamedAndLittleMemory) {
    const HostileCase c = GetParam();
    const QByteArray file = c.jpeg ? jpegDeclaring(c.width, c.height) : bmpDeclaring(c.width, c.height, false);
    const PeakMemory peak;
    const Expected<QImage> image = c.jpeg ? decodeJpeg(file, false) : loadBmp(file);
    const std::optional<qint64> grown = peak.growth();
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error(), pictureTooLargeMessage(c.width, std::abs(c.height)));
    if (!grown) GTEST_SKIP() << "peak memory cannot be measured here";
    EXPECT_LT(*grown, kHostileMemoryBudget) << "bytes";
}

#ifdef Q_OS_LINUX
// Resident memory misses a buffer that is allocated but never touched; an
// address-space cap of 50 MB more than in use catches that too. The decode
// runs in a child so the cap cannot hurt the test process.
TEST_P(OverTheLimitTest, RefusedWithinFiftyMegabytesOfAddressSpace) {
    const HostileCase c = GetParam();
    const QByteArray file = c.jpeg ? jpegDeclaring(c.width, c.height) : bmpDeclaring(c.width, c.height, false);
    const QString expected = pictureTooLargeMessage(c.width, std::abs(c.height));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const std::optional<qint64> used = PeakMemory::statusKb("VmSize:");
        if (!used) _exit(2);
        const rlimit cap{rlim_t(*used * 1024 + kHostileMemoryBudget), rlim_t(*used * 1024 + kHostileMemoryBudget)};
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(2);
        const Expected<QImage> image = c.jpeg ? decodeJpeg(file, false) : loadBmp(file);
        _exit(!image.ok() && image.error() == expected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died (signal " << WTERMSIG(status) << ")";
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "address space cannot be capped here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "not refused as too large within the cap";
}
#endif

// Just over the limit (10001 x 10000) and the absurd header, both formats.
INSTANTIATE_TEST_SUITE_P(Pictures, OverTheLimitTest,
                         ::testing::Values(HostileCase{"jpeg_65500", true, 65500, 65500},
                                           HostileCase{"jpeg_just_over", true, 10001, 10000},
                                           HostileCase{"bmp_65500", false, 65500, 65500},
                                           HostileCase{"bmp_65500_top_down", false, 65500, -65500},
                                           HostileCase{"bmp_just_over", false, 10001, 10000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PictureLimit, ARealPhotoOf5000By7000LoadsAsJpegAndAsBmp) {
    QImage photo(5000, 7000, QImage::Format_RGB888);
    photo.fill(QColor(200, 120, 40));
    const QByteArray jpeg = jpegOf(photo);
    photo = QImage();

    const Expected<QImage> full = decodeJpeg(jpeg, false);
    ASSERT_TRUE(full.ok()) << qPrintable(full.error());
    EXPECT_EQ(full->size(), QSize(5000, 7000));
    const Expected<QImage> half = decodeJpeg(jpeg, true);
    ASSERT_TRUE(half.ok()) << qPrintable(half.error());
    EXPECT_EQ(half->size(), QSize(2500, 3500));

    const Expected<QImage> bmp = loadBmp(bmpDeclaring(5000, 7000, true));
    ASSERT_TRUE(bmp.ok()) << qPrintable(bmp.error());
    EXPECT_EQ(bmp->size(), QSize(5000, 7000));
    EXPECT_EQ(bmp->pixelColor(4999, 6999), QColor(0x40, 0x40, 0x40));
}

TEST(PictureLimit, TheLimitIsTheSameNumberForBothFormats) {
    // 10000 x 10000 is exactly the limit: the size check passes for both and
    // only the missing data stops them.
    const Expected<QImage> jpeg = decodeJpeg(jpegDeclaring(10000, 10000), false);
    const Expected<QImage> bmp = loadBmp(bmpDeclaring(10000, 10000, false));
    ASSERT_FALSE(jpeg.ok());
    ASSERT_FALSE(bmp.ok());
    EXPECT_NE(jpeg.error(), pictureTooLargeMessage(10000, 10000));
    EXPECT_NE(bmp.error(), pictureTooLargeMessage(10000, 10000));
    EXPECT_EQ(kMaxPicturePixels, 10000LL * 10000);
}

}  // namespace
