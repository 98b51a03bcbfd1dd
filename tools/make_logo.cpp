// cfg_make_logo FILE: draws the program's splash picture and writes it as a
// GIF (Qt reads GIF but does not write it, so the encoder is here: a global
// 256-colour table and LZW-compressed image data).
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <vector>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 230;

QImage DrawLogo() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // A band across the top in the panel's red.
    QLinearGradient band(0, 0, kWidth, 0);
    band.setColorAt(0, QColor(138, 28, 28));
    band.setColorAt(1, QColor(192, 57, 43));
    p.fillRect(QRect(0, 0, kWidth, 14), band);
    p.fillRect(QRect(0, kHeight - 6, kWidth, 6), band);

    // The loop: a rounded line with its addressable points.
    const QRectF loop(26, 42, 150, 150);
    p.setPen(QPen(QColor(30, 100, 190), 5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(loop, 40, 40);
    p.setPen(QPen(QColor(40, 48, 60), 2));
    p.setBrush(QColor(230, 60, 50));
    for (QPointF c : {QPointF(101, 42), QPointF(176, 117), QPointF(101, 192), QPointF(26, 117), QPointF(48, 64),
                      QPointF(154, 64), QPointF(154, 170), QPointF(48, 170)})
        p.drawEllipse(c, 8, 8);

    // A flame in the middle of the loop.
    QPainterPath flame;
    flame.moveTo(101, 72);
    flame.cubicTo(128, 100, 136, 126, 124, 146);
    flame.cubicTo(116, 160, 86, 160, 78, 146);
    flame.cubicTo(70, 130, 80, 112, 90, 104);
    flame.cubicTo(90, 118, 96, 124, 102, 122);
    flame.cubicTo(96, 106, 98, 88, 101, 72);
    QLinearGradient fire(101, 72, 101, 158);
    fire.setColorAt(0, QColor(255, 200, 40));
    fire.setColorAt(1, QColor(220, 50, 30));
    p.setPen(QPen(QColor(160, 30, 20), 2));
    p.setBrush(fire);
    p.drawPath(flame);

    // The name.
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(44);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(138, 28, 28));
    p.drawText(QRect(200, 60, 270, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CFG-"));
    p.drawText(QRect(200, 108, 270, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Veltrano"));
    QFont family(QStringLiteral("DejaVu Sans"));
    family.setPixelSize(18);
    family.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(family);
    p.setPen(QColor(40, 48, 60));
    p.drawText(QRect(202, 166, 270, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VIMO"));
    p.end();
    return img;
}

// LSB-first bit packing into 255-byte sub-blocks.
class BitWriter {
public:
    void Put(unsigned code, int bits) {
        acc_ |= static_cast<uint32_t>(code) << used_;
        used_ += bits;
        while (used_ >= 8) {
            bytes_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
            acc_ >>= 8;
            used_ -= 8;
        }
    }
    std::vector<uint8_t> Finish() {
        if (used_ > 0) bytes_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
        acc_ = 0;
        used_ = 0;
        return bytes_;
    }

private:
    uint32_t acc_ = 0;
    int used_ = 0;
    std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> Lzw(const std::vector<uint8_t>& pixels, int minCodeSize) {
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    BitWriter out;
    std::map<std::pair<unsigned, uint8_t>, unsigned> dict;
    int codeSize = minCodeSize + 1;
    unsigned maxCode = end;
    out.Put(clear, codeSize);
    unsigned cur = pixels.empty() ? 0 : pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const uint8_t next = pixels[i];
        auto it = dict.find({cur, next});
        if (it != dict.end()) {
            cur = it->second;
            continue;
        }
        out.Put(cur, codeSize);
        dict[{cur, next}] = ++maxCode;
        if (maxCode >= (1u << codeSize)) ++codeSize;
        if (maxCode == 4095) {
            out.Put(clear, codeSize);
            dict.clear();
            maxCode = end;
            codeSize = minCodeSize + 1;
        }
        cur = next;
    }
    out.Put(cur, codeSize);
    out.Put(end, codeSize);
    return out.Finish();
}

void Put16(std::vector<uint8_t>& v, int x) {
    v.push_back(static_cast<uint8_t>(x & 0xFF));
    v.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
}

// The 256 most frequent colours of the picture; every other colour takes
// the nearest of them (the picture is mostly flat colour with soft edges).
struct Indexed {
    std::vector<QRgb> table;
    std::vector<uint8_t> pixels;
};

Indexed Quantize(const QImage& rgb) {
    const QImage img = rgb.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, long> counts;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ++counts[img.pixel(x, y) | 0xFF000000u];
    std::vector<std::pair<long, QRgb>> byCount;
    for (const auto& [c, n] : counts) byCount.emplace_back(n, c);
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    Indexed out;
    for (std::size_t i = 0; i < byCount.size() && i < 256; ++i) out.table.push_back(byCount[i].second);
    std::map<QRgb, uint8_t> nearest;
    for (const auto& [c, n] : counts) {
        int best = 0;
        long bestDist = -1;
        for (std::size_t i = 0; i < out.table.size(); ++i) {
            const QRgb t = out.table[i];
            const long dr = qRed(c) - qRed(t), dg = qGreen(c) - qGreen(t), db = qBlue(c) - qBlue(t);
            const long d = dr * dr + dg * dg + db * db;
            if (bestDist < 0 || d < bestDist) {
                bestDist = d;
                best = static_cast<int>(i);
            }
        }
        nearest[c] = static_cast<uint8_t>(best);
    }
    out.pixels.reserve(static_cast<std::size_t>(img.width() * img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) out.pixels.push_back(nearest[img.pixel(x, y) | 0xFF000000u]);
    out.table.resize(256, qRgb(0, 0, 0));
    return out;
}

std::vector<uint8_t> EncodeGif(const QImage& img) {
    const Indexed indexed = Quantize(img);
    const std::vector<QRgb>& table = indexed.table;
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(gif, img.width());
    Put16(gif, img.height());
    gif.push_back(0xF7);  // global table of 256 colours, 8 bits per primary
    gif.push_back(0);     // background colour
    gif.push_back(0);     // pixel aspect ratio
    for (QRgb c : table) {
        gif.push_back(static_cast<uint8_t>(qRed(c)));
        gif.push_back(static_cast<uint8_t>(qGreen(c)));
        gif.push_back(static_cast<uint8_t>(qBlue(c)));
    }
    gif.push_back(0x2C);
    Put16(gif, 0);
    Put16(gif, 0);
    Put16(gif, img.width());
    Put16(gif, img.height());
    gif.push_back(0);
    const std::vector<uint8_t>& pixels = indexed.pixels;
    const int minCodeSize = 8;
    gif.push_back(minCodeSize);
    std::vector<uint8_t> data = Lzw(pixels, minCodeSize);
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        gif.push_back(static_cast<uint8_t>(n));
        gif.insert(gif.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cfg_make_logo FILE\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::vector<uint8_t> gif = EncodeGif(DrawLogo());
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
    if (!out) {
        std::fprintf(stderr, "cfg_make_logo: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %dx%d, %zu bytes\n", argv[1], kWidth, kHeight, gif.size());
    return 0;
}
