// mux_clip FORMAT SECONDS OUT: writes a short video clip in FORMAT (a muxer
// name of libavformat, e.g. "rm" or "swf") with the muxer's own default video
// codec: SECONDS of 64x48 flat-coloured frames at 10 frames a second.
//
// For the containers no test generator writes by hand. A program of its own,
// so that the tests that check when the demuxer library is mapped never find
// it linked into themselves.
//
// Exit status: 0 written; 3 this libavformat has no such muxer, 4 no encoder
// for its video codec (the reason on standard error); 1 another failure;
// 2 wrong arguments.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kFps = 10;

int fail(int status, const std::string& why) {
    std::fprintf(stderr, "mux_clip: %s\n", why.c_str());
    return status;
}

// Everything made for one clip, freed on every way out.
struct Clip {
    AVFormatContext* format = nullptr;
    AVCodecContext* encoder = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    ~Clip() {
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&encoder);
        if (format && !(format->oformat->flags & AVFMT_NOFILE))
            avio_closep(&format->pb);
        avformat_free_context(format);
    }
};

// Sends `frame` (null: the end) and writes every packet the encoder gives.
bool encode(Clip& clip, AVStream* stream, const AVFrame* frame) {
    if (avcodec_send_frame(clip.encoder, frame) < 0)
        return false;
    for (;;) {
        const int got = avcodec_receive_packet(clip.encoder, clip.packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return true;
        if (got < 0)
            return false;
        av_packet_rescale_ts(clip.packet, clip.encoder->time_base, stream->time_base);
        clip.packet->stream_index = stream->index;
        if (av_interleaved_write_frame(clip.format, clip.packet) < 0)
            return false;
    }
}

// Frame `n` in one flat colour, changing every frame.
void paint(AVFrame* frame, int n) {
    const int y = 60 + (n * 37) % 150, u = (n * 53) % 256, v = 255 - (n * 29) % 256;
    for (int row = 0; row < kHeight; ++row)
        std::fill_n(frame->data[0] + row * frame->linesize[0], kWidth, uint8_t(y));
    for (int row = 0; row < kHeight / 2; ++row) {
        std::fill_n(frame->data[1] + row * frame->linesize[1], kWidth / 2, uint8_t(u));
        std::fill_n(frame->data[2] + row * frame->linesize[2], kWidth / 2, uint8_t(v));
    }
}

int write(const char* formatName, int frames, const char* out) {
    const AVOutputFormat* muxer = av_guess_format(formatName, nullptr, nullptr);
    if (!muxer)
        return fail(3, std::string("this libavformat has no muxer \"") + formatName + '"');
    const AVCodec* codec = avcodec_find_encoder(muxer->video_codec);
    if (!codec)
        return fail(4, std::string("no encoder for the video codec of \"") + formatName + '"');
    Clip clip;
    if (avformat_alloc_output_context2(&clip.format, muxer, nullptr, out) < 0)
        return fail(1, "cannot make the muxer");
    AVStream* stream = avformat_new_stream(clip.format, nullptr);
    clip.encoder = avcodec_alloc_context3(codec);
    clip.frame = av_frame_alloc();
    clip.packet = av_packet_alloc();
    if (!stream || !clip.encoder || !clip.frame || !clip.packet)
        return fail(1, "out of memory");
    clip.encoder->width = kWidth;
    clip.encoder->height = kHeight;
    clip.encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    clip.encoder->time_base = AVRational{1, kFps};
    clip.encoder->framerate = AVRational{kFps, 1};
    clip.encoder->bit_rate = 200000;
    clip.encoder->gop_size = kFps;
    if (muxer->flags & AVFMT_GLOBALHEADER)
        clip.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(clip.encoder, codec, nullptr) < 0 ||
        avcodec_parameters_from_context(stream->codecpar, clip.encoder) < 0)
        return fail(1, std::string("cannot open the encoder ") + codec->name);
    stream->time_base = clip.encoder->time_base;
    if (!(muxer->flags & AVFMT_NOFILE) && avio_open(&clip.format->pb, out, AVIO_FLAG_WRITE) < 0)
        return fail(1, std::string("cannot write ") + out);
    if (avformat_write_header(clip.format, nullptr) < 0)
        return fail(1, "the muxer refuses the stream");
    clip.frame->format = AV_PIX_FMT_YUV420P;
    clip.frame->width = kWidth;
    clip.frame->height = kHeight;
    if (av_frame_get_buffer(clip.frame, 0) < 0)
        return fail(1, "out of memory");
    for (int n = 0; n < frames; ++n) {
        if (av_frame_make_writable(clip.frame) < 0)
            return fail(1, "out of memory");
        paint(clip.frame, n);
        clip.frame->pts = n;
        if (!encode(clip, stream, clip.frame))
            return fail(1, "encoding failed");
    }
    if (!encode(clip, stream, nullptr) || av_write_trailer(clip.format) < 0)
        return fail(1, "finishing the file failed");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return fail(2, "usage: mux_clip FORMAT SECONDS OUT");
    const double seconds = std::atof(argv[2]);
    if (!(seconds > 0 && seconds < 3600))
        return fail(2, "SECONDS must be between 0 and 3600");
    av_log_set_level(AV_LOG_ERROR);
    return write(argv[1], int(seconds * kFps + 0.5), argv[3]);
}
