#pragma once
// Where a model meets the ground: the points the contact parts hold above the terrain, and the
// body height at which the lowest of them just touches it. The flight session uses it to set a
// model down on the field at the start, as the pilot puts it there, rather than drop it from a
// fixed height that suits one model's gear and no other's.
//
// Each part says its own reach below its POSITION (CPart::GetGroundContact, body frame),
// measured along the world vertical as the parts measure their height above the ground:
//   COLLISION_POINT  the point itself
//   WHEEL            the point minus REST_LENGTH (its spring pushes from there)
//   WHEEL3           the hub minus RADIUS and SUSPENSION_SPRING_REST_LENGTH
// At the resting height the springs are just unloaded and no collision point is below the
// ground; the model then settles by its spring travel alone.

struct CMatrix3;
class CModel;
class ITerrain;

class CGroundContacts
{
public:
    // Height (m, world) of the body origin that puts the model's lowest contact on the terrain,
    // with the body at (x, z) and that orientation (rows = body axes in world axes). False, and
    // outHeight untouched, when the model has no contact part.
    static bool RestingHeight(CModel& model, const CMatrix3& orientation, float x, float z,
                              const ITerrain& terrain, float& outHeight);
};
