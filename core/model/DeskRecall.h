#pragma once

namespace deskpanel {

class Project;
class SceneOperations;

// A recall the operator asks for at the desk (the Recall button, a double click in the
// scene list). While the project's recall safes could not be read, no one knows which
// channels should keep their settings, so the recall always shows its preview first,
// whatever the preview setting says.
void recallFromDesk(SceneOperations& scenes, const Project& project, int position);

} // namespace deskpanel
