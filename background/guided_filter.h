#pragma once

#include <opencv2/core.hpp>

/// Edge-preserving smoothing of Input steered by a colour Guide (the guided
/// filter of He, Sun and Tang, with a 3-channel guide): in every window of
/// (2 Radius + 1)^2 pixels the output is the affine function of the guide's
/// colour that comes as close to Input as Epsilon allows. Returns the
/// coefficients averaged over each pixel's windows, so that the output is
/// A · colour + B; a caller may solve them on a smaller copy of the guide and
/// apply them at full size. Guide is CV_32FC3 (0 to 1), Input CV_32FC1 of the
/// same size; A receives CV_32FC3, B CV_32FC1. Every step is a box filter or
/// one pass over the pixels: the cost follows the pixel count, not the radius.
void GuidedFilterCoefficients(const cv::Mat& Guide, const cv::Mat& Input, int Radius, float Epsilon, cv::Mat& A,
                              cv::Mat& B);
