// The program's scenes by id: the factory start-up hands to the scene
// manager, which sits below the scenes it builds.
#pragma once

class cScene;

// A new scene of id 0 to 5, or null for any other id.
cScene* BuildGameScene(int nSceneId);
