#pragma once

#include "face_mesh.h"

/// The turn of a head in degrees, 0 for a face looking straight into the
/// camera. Roll > 0: the head leans toward the person's left shoulder (the
/// photo's right). Yaw > 0: the face is turned toward the person's left.
/// Pitch > 0: the chin is lowered.
struct TPose {
    double Roll = 0;
    double Yaw = 0;
    double Pitch = 0;
};

/// The pose from the landmarks: roll from the line through the eye centres
/// in the photo; yaw and pitch from the depth of the eye line and of the
/// forehead-to-chin line (the face's own axes, against the camera's).
TPose FacePose(const TFaceLandmarks& Face);

/// Distance between the eye centres, in photo pixels.
double EyeDistance(const TFaceLandmarks& Face);

/// Gap between the eyelids over the eye's width, for the less open eye:
/// about 0.25 to 0.35 open, below 0.1 closed.
double EyeOpening(const TFaceLandmarks& Face);
/// Gap between the inner lips over the mouth's width: near 0 closed.
double MouthOpening(const TFaceLandmarks& Face);

/// True when Face has every point, with its depth, that the check reads.
bool IsCompleteMesh(const TFaceLandmarks& Face);
