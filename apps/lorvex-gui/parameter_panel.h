// The parameters a map maker changes most, beside the world: the land masses by class, the
// shaping algorithms, the terrain shares and the cities, each a field set through the
// builder by its Name(Index) as any host sets it; named presets, Defaults; and the legend of
// the terrain colours with the switch that hides the cities. The parameters window (Build)
// still holds every parameter.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "host/cls_build.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lorvex::gui {

// The terrain colours of the one palette, each named once (the three border waters share a
// colour and a line), and the city mark.
class TerrainLegend : public QWidget {
 public:
  explicit TerrainLegend(QWidget* parent = nullptr);
  // The lines as shown: "name" beside each colour.
  const std::vector<QString>& Names() const { return names_; }

 private:
  std::vector<QString> names_;
};

class ParameterPanel : public QWidget {
 public:
  // `presetsFolder`: where named presets are kept (none when empty).
  ParameterPanel(clsBuild& builder, QString presetsFolder, QWidget* parent = nullptr);

  // Called after a field, a preset or Defaults changed the builder's parameters.
  void OnChanged(std::function<void()> hook) { onChanged_ = std::move(hook); }
  // Called when the city switch is turned.
  void OnCitiesShown(std::function<void(bool)> hook) { onCitiesShown_ = std::move(hook); }

  // Every field shows what the builder holds now (after a build, a load, Recommend).
  void Refresh();
  // Sets one field as a person does: the text, then leaving the box (or the click of a
  // check box, or the choice of an item). False when the panel has no such field.
  bool Enter(const std::string& key, const QString& value);
  // The panel's field of a key (nullptr when it has none).
  QWidget* Field(const std::string& key) const;
  const std::vector<std::string>& Keys() const { return keys_; }

  // Presets: the names kept, saving the builder's parameters under a name, and loading one.
  QStringList Presets() const;
  bool SavePreset(const QString& name);
  bool LoadPreset(const QString& name);
  // "Defaults": every parameter back to the window's default.
  void Defaults();

  QCheckBox* CitiesBox() const { return cities_; }
  QLabel* Note() const { return note_; }
  TerrainLegend* Legend() const { return legend_; }

 private:
  QLineEdit* NumberField(const std::string& key, int digits);
  // A field of `key`: named after it, and found by Field and Refresh.
  void Register(const std::string& key, QWidget* field);
  // Sets the key's value through the builder and says what the builder made of it.
  void Apply(const std::string& key, const std::string& value);
  void Changed();
  void FillPresets();
  QString PresetPath(const QString& name) const;

  clsBuild& builder_;
  QString presetsFolder_;
  std::vector<std::string> keys_;
  std::vector<QWidget*> fields_;  // in the order of keys_
  QComboBox* presets_ = nullptr;
  QCheckBox* cities_ = nullptr;
  QLabel* note_ = nullptr;
  TerrainLegend* legend_ = nullptr;
  bool refreshing_ = false;
  std::function<void()> onChanged_;
  std::function<void(bool)> onCitiesShown_;
};

}  // namespace lorvex::gui
