#pragma once
// A node of the simulated camera's node map: the name, the principal interface (from the feature's
// type) and the access. The kinds the system uses add their interface in SimStringNode,
// SimCommandNode, SimIntegerNode and SimEnumerationNode; a float or boolean feature is a plain node.
// Refusals of the camera raise GenICam::GenericException with the camera's reason.

#include "GenApi.h"
#include "SimCamera.h"

#include <memory>

namespace kavrino {

class SimNode : public virtual GenApi::INode {
public:
    SimNode(std::shared_ptr<SimCamera> camera, std::wstring name);

    GenICam::gcstring GetName() const override;
    GenApi::EInterfaceType GetPrincipalInterfaceType() const override;
    GenApi::EAccessMode GetAccessMode() const override;

protected:
    SimValue Read(SimCamera::Query query) const;
    void Write(const SimValue& value);
    void Run();

private:
    std::shared_ptr<SimCamera> m_camera;
    std::wstring m_name;
};

} // namespace kavrino
