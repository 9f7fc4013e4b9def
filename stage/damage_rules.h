// What a hit does to a character: the HP it loses (or gains), the hit effect
// between the two boxes, the knock-back, the damage triggers of victim and
// attacker, and the protection afterwards (invincibility for a while, or
// immunity to that one attacker). The hit passes call these with the play
// state; the death that may follow is the defeat handling's.
#pragma once

#include <cstdint>

class cGameObj;
class cPlayScene;
class cShotObj;

class cDamageRules {
 public:
  // An attack of this power against the victim's defence: a positive power
  // less the defence, kept in 0..999999; zero or less unchanged (a negative
  // power heals, whatever the defence).
  static int32_t DamageOf(int32_t nPower, const cGameObj& victim);

  // 1 when the victim's HP reached 0.
  int TakeBodyHit(cPlayScene& scene, cGameObj& victim, const cGameObj& attacker) const;
  int TakeShotHit(cPlayScene& scene, cGameObj& victim, const cShotObj& shot) const;
  // Triggers 1 and 18 for power, 2 and 19 for impact; the attacker's credited
  // parent (or the shot's credited shooter) is told it hit.
  void FireDamageTriggers(cGameObj& victim, cGameObj& attacker) const;
  void FireShotDamageTriggers(cGameObj& victim, const cShotObj& shot) const;

  // Invincible for the stage's frames of its side (player-operated or not).
  void SetInvincible(cGameObj& chara) const;
  // That, and immune to the attacker with this id for the stage's frames.
  void AddHitImmunity(cGameObj& chara, int32_t nAttackerId) const;
  static bool IsDamaged(const cGameObj& chara);
  static bool IsImmuneTo(const cGameObj& chara, int32_t nAttackerId);
};
