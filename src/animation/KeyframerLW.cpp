#include "animation/KeyframerLW.h"

#include "core/GL.h"
#include "math/Angles.h"
#include "math/Matrix4x4.h"
#include "script/ScriptReader.h"

KeyframerLW::KeyframerLW()
{
    for (int i = 0; i < channelCount; ++i)
        channels[i].channel = i;
}

bool KeyframerLW::read(ScriptReader& reader, std::istream& stream)
{
    for (int i = 0; i < channelCount; ++i) {
        channels[i] = Envelope();
        channels[i].channel = i;
    }
    for (;;) {
        // At the end of the stream the line is empty: no "Channel ", no "}", a failure.
        reader.next(stream);
        if (!reader.contains("Channel "))
            return reader.contains("}");
        int index = -1;
        scanInts(reader.line, index);
        if (index < 0 || index >= channelCount)
            return false;
        if (!channels[index].read(reader, stream))
            return false;
    }
}

void KeyframerLW::update(float time)
{
    float c[channelCount];
    for (int i = 0; i < channelCount; ++i)
        c[i] = channels[i].evaluate(time);
    translation = Vector3(c[PositionX], c[PositionY], c[PositionZ]);
    scale = Vector3(c[ScaleX], c[ScaleY], c[ScaleZ]);
    h = -c[Heading];
    p = -c[Pitch];
    b = -c[Bank];
    rotation = Quaternion::fromMatrix(Matrix4x4::eulerYXZ(h, p, b));
}

bool KeyframerLW::write(std::ostream&) { return true; }

void KeyframerLW::apply()
{
    glPushMatrix();
    glTranslatef(translation.x, translation.y, translation.z);
    glRotatef(h * radToDeg, 0.0f, -1.0f, 0.0f);
    glRotatef(p * radToDeg, -1.0f, 0.0f, 0.0f);
    glRotatef(b * radToDeg, 0.0f, 0.0f, -1.0f);
    glScalef(scale.x, scale.y, scale.z);
}

void KeyframerLW::unapply() { glPopMatrix(); }
