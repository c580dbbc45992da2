#include "face_regions.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

double TFaceRegions::EyeDistance() const
{
    return std::hypot(LeftEye.x() - RightEye.x(), LeftEye.y() - RightEye.y());
}

TFaceRegions FaceRegionsOf(const TFaceLandmarks& Face, const THead& Head)
{
    std::vector<cv::Point2f> points;
    points.reserve(Face.Points.size());
    for (const QPointF& p : Face.Points)
        points.emplace_back(static_cast<float>(p.x()), static_cast<float>(p.y()));
    std::vector<cv::Point2f> hull;
    cv::convexHull(points, hull);
    TFaceRegions regions;
    for (const cv::Point2f& p : hull)
        regions.Face << QPointF(p.x, p.y);
    regions.MidTop = Face.Points[Landmark::kForeheadTop];
    regions.MidBottom = Face.Points[Landmark::kChin];
    regions.RightEye = Face.RightEye();
    regions.LeftEye = Face.LeftEye();
    regions.MouthY = (Face.Points[Landmark::kUpperInnerLip].y() + Face.Points[Landmark::kLowerInnerLip].y()) / 2;
    regions.Head = Head;
    return regions;
}
