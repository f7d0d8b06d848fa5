#include "platform/media/FlacTail.h"

namespace marlo {

namespace {

struct FrameHeader {
    bool variable = false;  // numbered by sample, else by frame
    qint64 number = 0;
    qint64 samples = 0;
};

quint8 crc8(const unsigned char* data, qsizetype size) {
    quint8 crc = 0;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = quint8((crc & 0x80) != 0 ? (crc << 1) ^ 0x07 : crc << 1);
        }
    }
    return crc;
}

// The frame header at `at`, if one is there (see the FLAC format's FRAME_HEADER).
std::optional<FrameHeader> headerAt(const unsigned char* data, qsizetype size, qsizetype at) {
    const unsigned char* p = data + at;
    const qsizetype left = size - at;
    if (left < 6 || p[0] != 0xFF || (p[1] & 0xFE) != 0xF8) {
        return std::nullopt;
    }
    const bool variable = (p[1] & 1) != 0;
    const int sizeCode = p[2] >> 4;
    const int rateCode = p[2] & 0x0F;
    if (sizeCode == 0 || rateCode == 0x0F || (p[3] >> 4) > 10 || (p[3] & 1) != 0 ||
        ((p[3] >> 1) & 7) == 3) {
        return std::nullopt;
    }
    // The frame or sample number, coded as UTF-8 is (up to 36 bits).
    qsizetype i = 4;
    int more = 0;
    qint64 number = p[i];
    if ((p[i] & 0x80) != 0) {
        int lead = 0;
        while (lead < 8 && (p[i] & (0x80 >> lead)) != 0) {
            ++lead;
        }
        if (lead < 2 || lead > 7) {
            return std::nullopt;
        }
        more = lead - 1;
        number = p[i] & (0x7F >> lead);
    }
    ++i;
    for (int k = 0; k < more; ++k, ++i) {
        if (i >= left || (p[i] & 0xC0) != 0x80) {
            return std::nullopt;
        }
        number = (number << 6) | (p[i] & 0x3F);
    }
    qint64 samples = 0;
    if (sizeCode == 1) {
        samples = 192;
    } else if (sizeCode <= 5) {
        samples = qint64(576) << (sizeCode - 2);
    } else if (sizeCode == 6) {
        samples = (i < left ? p[i] : 0) + 1;
        i += 1;
    } else if (sizeCode == 7) {
        samples = (i + 1 < left ? (p[i] << 8 | p[i + 1]) : 0) + 1;
        i += 2;
    } else {
        samples = qint64(256) << (sizeCode - 8);
    }
    i += rateCode == 12 ? 1 : (rateCode == 13 || rateCode == 14) ? 2 : 0;
    if (i >= left || crc8(p, i) != p[i]) {
        return std::nullopt;
    }
    return FrameHeader{variable, number, samples};
}

}  // namespace

std::optional<FlacFrame> lastFlacFrame(const QByteArray& tail) {
    const auto* data = reinterpret_cast<const unsigned char*>(tail.constData());
    const qsizetype size = tail.size();
    std::optional<FrameHeader> later;  // the nearest header after the one looked at
    for (qsizetype at = size - 2; at >= 0; --at) {
        if (data[at] != 0xFF || (data[at + 1] & 0xFE) != 0xF8) {
            continue;
        }
        const std::optional<FrameHeader> header = headerAt(data, size, at);
        if (!header) {
            continue;
        }
        // Frames of a fixed block size count frames; all but the last have that size.
        if (later && header->variable == later->variable) {
            if (later->variable && header->number + header->samples == later->number) {
                return FlacFrame{later->number, later->samples};
            }
            if (!later->variable && header->number + 1 == later->number) {
                return FlacFrame{later->number * header->samples, later->samples};
            }
        }
        later = header;
    }
    return std::nullopt;
}

}  // namespace marlo
