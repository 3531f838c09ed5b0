#include "model/CPartServo.h"

#include <cmath>
#include <cstring>

#include "core/Diagnostics.h"
#include "model/CModel.h"
#include "model/CVariable.h"
#include "model/CVariableSearchList.h"
#include "model/PartClassTable.h"

CPartServo::CPartServo() : CPartPhysic(PART_SERVO) {}

bool CPartServo::ApplyProperties()
{
    m_variable = nullptr;
    if (m_model != nullptr && !m_set.variable.empty())
        m_variable = m_model->GetVariableSearchList().Find(m_set.variable);
    if (m_variable == nullptr && m_model != nullptr && !m_set.variable.empty())
        DiagPrint("%s: SERVO '%s': variable '%s' not found, the servo stays at 0\n", m_model->GetFileName().c_str(),
                  GetName().c_str(), m_set.variable.c_str());

    m_massElement.Reset();
    if (const float mass = UsableMass(m_set.mass, "MASS"); mass > 0.0f)
        m_massElement.AddSmallCube(mass, m_set.position);
    if (m_model != nullptr)
        m_model->SetMassMustBeRecomputed();
    m_linked = true;
    return true;
}

void CPartServo::UpdateFrame(float frameTime)
{
    if (m_variable == nullptr)
    {
        m_servoPosition = 0.0f;
        return;
    }
    const float speed = std::fmax(m_set.speed, kMinSpeed);
    const float step = frameTime / speed;
    const float target = m_variable->GetValue();
    if (std::fabs(target - m_servoPosition) < step)
        m_servoPosition = target;
    else
        m_servoPosition += target > m_servoPosition ? step : -step;
}

int CPartServo::SaveState(std::vector<unsigned char>& ioBytes)
{
    unsigned char bytes[sizeof(float)];
    std::memcpy(bytes, &m_servoPosition, sizeof(float));
    ioBytes.insert(ioBytes.end(), bytes, bytes + sizeof(float));
    return static_cast<int>(sizeof(float));
}

int CPartServo::LoadState(const unsigned char* bytes, int count)
{
    if (bytes == nullptr || count < static_cast<int>(sizeof(float)))
        return 0;
    float position = 0.0f;
    std::memcpy(&position, bytes, sizeof(float));
    if (!std::isfinite(position))
        return 0;
    m_servoPosition = position;
    return static_cast<int>(sizeof(float));
}
