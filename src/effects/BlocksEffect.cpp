#include "effects/BlocksEffect.h"

#include "core/GL.h"
#include "core/Log.h"
#include "core/Random.h"
#include "effects/QuadBatch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

Vector3 normalized(Vector3 v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        return v;
    return {v.x / length, v.y / length, v.z / length};
}

void recentre(BlocksEffect::Block& block)
{
    Vector3 sum{0.0f, 0.0f, 0.0f};
    for (const Vector3& c : block.corners) {
        sum.x += c.x;
        sum.y += c.y;
        sum.z += c.z;
    }
    block.centre = {sum.x * 0.25f, sum.y * 0.25f, sum.z * 0.25f};
}

constexpr double kSpace = 256.0;

} // namespace

bool BlocksEffect::prepare()
{
    ImageEffect::prepare();
    blocks.clear();
    if (rows < 1 || cols < 1)
        return true;
    if (long(rows) * long(cols) > kMaxBlocks) {
        logPrint("Blocks %s: %d x %d tiles are too many", name.c_str(), rows, cols);
        return true;
    }
    const float rh = height / float(rows);
    const float cw = width / float(cols);
    const float ds = (s1 - s0) / float(cols);
    const float dt = (t1 - t0) / float(rows);
    blocks.reserve(std::size_t(rows) * std::size_t(cols));
    for (int i = 0; i < rows; ++i) {
        const float ybot = y + height - float(i + 1) * rh;
        const float ytop = ybot + rh;
        const float ttop = t0 + float(i) * dt;
        const float tbot = t0 + float(i + 1) * dt;
        for (int j = 0; j < cols; ++j) {
            const float xl = x + float(j) * cw;
            const float xr = xl + cw;
            const float sl = s0 + float(j) * ds;
            const float sr = sl + ds;
            Block b{{sr, sl, sl, sr},
                    {ttop, ttop, tbot, tbot},
                    {{xr, ytop, 0.0f}, {xl, ytop, 0.0f}, {xl, ybot, 0.0f}, {xr, ybot, 0.0f}},
                    normalized({xr - centre.x, ytop - centre.y, 0.0f - centre.z}),
                    {},
                    0.0f};
            const float f = 1.0f + 2.0f * show::randomUnit();
            const float reach = f * distance;
            for (Vector3& c : b.corners) {
                c.x += b.direction.x * reach;
                c.y += b.direction.y * reach;
                c.z += b.direction.z * reach;
            }
            b.angle = f * 360.0f;
            recentre(b);
            blocks.push_back(b);
        }
    }
    return true;
}

void BlocksEffect::update(float time)
{
    ImageEffect::update(time);
    const float dt = step.next(time);
    const float back = dt * distance;
    for (Block& b : blocks) {
        if (b.atRest())
            continue;
        b.angle = std::max(0.0f, b.angle - dt * 360.0f);
        for (Vector3& c : b.corners) {
            c.x -= back * b.direction.x;
            c.y -= back * b.direction.y;
            c.z -= back * b.direction.z;
            if (c.z < 0.0f)
                c.z = 0.0f;
        }
        recentre(b);
    }
}

void BlocksEffect::catchUp(float time, float step) { stepFromStart(time, step); }

void BlocksEffect::render()
{
    if (opacity == 0.0f || blocks.empty())
        return;
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-kSpace, kSpace, -kSpace, kSpace, -kSpace, kSpace);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glNormal3f(0.0f, 0.0f, 1.0f);

    // Each tile turned about its own centre, computed here so all tiles go in one draw.
    QuadBatch batch;
    batch.reserve(int(blocks.size()));
    for (const Block& b : blocks) {
        const float radians = b.angle * (std::numbers::pi_v<float> / 180.0f);
        const float ca = std::cos(radians);
        const float sa = std::sin(radians);
        for (int k = 0; k < 4; ++k) {
            const float dx = b.corners[k].x - b.centre.x;
            const float dy = b.corners[k].y - b.centre.y;
            batch.add({b.centre.x + dx * ca - dy * sa, b.centre.y + dx * sa + dy * ca,
                       b.corners[k].z, b.s[k], b.t[k], 1.0f, 1.0f, 1.0f, opacity});
        }
    }
    // Without its picture the tiles are drawn plain.
    const bool textured = texture.bind();
    batch.draw(textured);
    if (textured)
        texture.unbind();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

namespace {

using Kind = EffectKind<BlocksEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"TexRect ", [](const std::string& l, BlocksEffect& e) { ImageEffect::readTexRect(l, e); }},
    {"Rect ", [](const std::string& l, BlocksEffect& e) { ImageEffect::readRect(l, e); }},
    {"Image ", [](const std::string& l, BlocksEffect& e) { ImageEffect::readImage(l, e); }},
    {"Rows ", [](const std::string& l, BlocksEffect& e) { scanInts(l, e.rows); }},
    {"Cols ", [](const std::string& l, BlocksEffect& e) { scanInts(l, e.cols); }},
    {"Position ", [](const std::string& l, BlocksEffect& e) {
         scanFloats(l, e.centre.x, e.centre.y, e.centre.z);
     }},
    {"Distance ", [](const std::string& l, BlocksEffect& e) { scanFloats(l, e.distance); }},
};

} // namespace

std::unique_ptr<EffectType> makeBlocksEffectType()
{
    return std::make_unique<Kind>("Blocks", kKeywords, "BlocksEffect unknown token");
}
