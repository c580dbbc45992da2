#include "guided_filter.h"

#include <opencv2/imgproc.hpp>

namespace {

void mean(const cv::Mat& in, cv::Mat& out, int radius)
{
    cv::boxFilter(in, out, CV_32F, cv::Size(2 * radius + 1, 2 * radius + 1), cv::Point(-1, -1), true,
                  cv::BORDER_REFLECT);
}

}  // namespace

void GuidedFilterCoefficients(const cv::Mat& Guide, const cv::Mat& Input, int Radius, float Epsilon, cv::Mat& A,
                              cv::Mat& B)
{
    CV_Assert(Guide.type() == CV_32FC3 && Input.type() == CV_32FC1 && Guide.size() == Input.size());
    const int rows = Guide.rows, cols = Guide.cols;
    // The products the window means are taken of: colour times input, the
    // colour's squares and its cross terms.
    // Kept between calls: the cells of a run are all of one size, and fresh
    // buffers of this size cost more in page faults than the filter itself.
    thread_local cv::Mat ip, squares, crosses, meanI, meanP, meanIp, meanSquares, meanCrosses, a, b;
    ip.create(rows, cols, CV_32FC3);
    squares.create(rows, cols, CV_32FC3);
    crosses.create(rows, cols, CV_32FC3);
    for (int y = 0; y < rows; ++y) {
        const float* g = Guide.ptr<float>(y);
        const float* p = Input.ptr<float>(y);
        float* o = ip.ptr<float>(y);
        float* s = squares.ptr<float>(y);
        float* c = crosses.ptr<float>(y);
        for (int x = 0; x < cols; ++x, g += 3, o += 3, s += 3, c += 3) {
            o[0] = g[0] * p[x], o[1] = g[1] * p[x], o[2] = g[2] * p[x];
            s[0] = g[0] * g[0], s[1] = g[1] * g[1], s[2] = g[2] * g[2];
            c[0] = g[0] * g[1], c[1] = g[0] * g[2], c[2] = g[1] * g[2];
        }
    }
    mean(Guide, meanI, Radius);
    mean(Input, meanP, Radius);
    mean(ip, meanIp, Radius);
    mean(squares, meanSquares, Radius);
    mean(crosses, meanCrosses, Radius);

    // Per window: a = (Σ + ε·1)⁻¹ · cov(I, p), b = mean p − a · mean I; the
    // symmetric 3 × 3 system solved by its adjugate.
    a.create(rows, cols, CV_32FC3);
    b.create(rows, cols, CV_32FC1);
    for (int y = 0; y < rows; ++y) {
        const float* mi = meanI.ptr<float>(y);
        const float* mp = meanP.ptr<float>(y);
        const float* mip = meanIp.ptr<float>(y);
        const float* ms = meanSquares.ptr<float>(y);
        const float* mc = meanCrosses.ptr<float>(y);
        float* ao = a.ptr<float>(y);
        float* bo = b.ptr<float>(y);
        for (int x = 0; x < cols; ++x, mi += 3, mip += 3, ms += 3, mc += 3, ao += 3) {
            const float c0 = mip[0] - mi[0] * mp[x], c1 = mip[1] - mi[1] * mp[x], c2 = mip[2] - mi[2] * mp[x];
            const float s00 = ms[0] - mi[0] * mi[0] + Epsilon, s11 = ms[1] - mi[1] * mi[1] + Epsilon,
                        s22 = ms[2] - mi[2] * mi[2] + Epsilon;
            const float s01 = mc[0] - mi[0] * mi[1], s02 = mc[1] - mi[0] * mi[2], s12 = mc[2] - mi[1] * mi[2];
            const float i00 = s11 * s22 - s12 * s12, i01 = s02 * s12 - s01 * s22, i02 = s01 * s12 - s02 * s11;
            const float i11 = s00 * s22 - s02 * s02, i12 = s01 * s02 - s00 * s12, i22 = s00 * s11 - s01 * s01;
            const float inverseDet = 1.f / (s00 * i00 + s01 * i01 + s02 * i02);
            ao[0] = (i00 * c0 + i01 * c1 + i02 * c2) * inverseDet;
            ao[1] = (i01 * c0 + i11 * c1 + i12 * c2) * inverseDet;
            ao[2] = (i02 * c0 + i12 * c1 + i22 * c2) * inverseDet;
            bo[x] = mp[x] - ao[0] * mi[0] - ao[1] * mi[1] - ao[2] * mi[2];
        }
    }
    mean(a, A, Radius);
    mean(b, B, Radius);
}
