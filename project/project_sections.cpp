#include "project/project_sections.h"

namespace {

template <size_t N>
FieldRef Text(const char16_t* key, FixedText<N>& field, FieldRule rule = FieldRule::kAsRead) {
  FieldRef f{key};
  f.text = field.units;
  f.capacity = N;
  f.rule = rule;
  return f;
}

FieldRef Int(const char16_t* key, int32_t& field, FieldRule rule = FieldRule::kAsRead) {
  FieldRef f{key};
  f.integer = &field;
  f.rule = rule;
  return f;
}

FieldRef Float(const char16_t* key, float& field) {
  FieldRef f{key};
  f.real = &field;
  return f;
}

FieldRef File(VehicleProject& p, const FileField& file) {
  FieldRef f = Text(file.key, p.*file.member, FieldRule::kFile);
  f.file = &file;
  return f;
}

}  // namespace

std::u16string_view FieldRef::Text() const {
  size_t n = 0;
  while (n < capacity && text[n]) ++n;
  return {text, n};
}

FieldList InfoheadFields(VehicleProject& p) {
  return {Text(u"outpath", p.outpath, FieldRule::kOutPath),
          Text(u"name", p.name),
          Text(u"sname", p.sname),
          Text(u"guide", p.guide),
          Text(u"series", p.series),
          Int(u"category", p.category),
          Int(u"speed", p.speed, FieldRule::kSpeed),
          Int(u"huriko", p.tilt_angle, FieldRule::kTilt),
          Int(u"fixhuriko", p.fixhuriko),
          Float(u"zoom", p.zoom),
          Int(u"teczoom", p.teczoom),
          Float(u"link0", p.link0),
          Float(u"link1", p.link1),
          Int(u"downv", p.texture_v_up, FieldRule::kFlag),
          Int(u"changelr", p.changelr, FieldRule::kFlag),
          Int(u"objsmt", p.obj_smoothing),
          Int(u"objflatrev", p.objflatrev)};
}

FieldList BodyFields(VehicleProject& p) {
  FieldList list;
  for (const FileField& f : kImageFields) list.push_back(File(p, f));
  for (auto [key, field] : {std::pair{u"modelA1", &p.modelA1},
                            {u"modelA2", &p.modelA2},
                            {u"modelB1", &p.modelB1},
                            {u"modelB2", &p.modelB2},
                            {u"modelH", &p.modelH},
                            {u"modelI", &p.modelI}})
    list.push_back(Text(key, *field));
  return list;
}

FieldList TireFields(TireEntry& t) {
  return {Text(u"modelTire", t.modelTire), Float(u"TireRadius", t.TireRadius)};
}

FieldList TruckFields(TruckEntry& t) {
  return {Int(u"type", t.type), Float(u"pos", t.pos), Text(u"model", t.model)};
}

FieldList MountFields(TireMount& m) {
  return {Int(u"tireID", m.tireID), Float(u"tirePOSX", m.tirePOSX), Float(u"tirePOSY", m.tirePOSY)};
}

FieldList SubmodelFields(VehicleProject& p) {
  FieldList list = {Text(u"modelM", p.modelM), Text(u"modelSA", p.modelSA), Text(u"modelSB", p.modelSB)};
  for (PathText& mark : p.modelHM) list.push_back(Text(u"modelHM", mark));
  return list;
}

FieldList LightsetFields(VehicleProject& p) {
  return {Text(u"modelLH0", p.modelLH0), Text(u"modelLT0", p.modelLT0), Text(u"modelLH1", p.modelLH1),
          Text(u"modelLT1", p.modelLT1), Text(u"modelIRE", p.modelIRE)};
}

FieldList OptionFields(OptionSet& o) {
  // The window part comes before the interior here.
  return {Int(u"start", o.start),        Text(u"modelA", o.modelA),     Text(u"modelB", o.modelB),
          Text(u"modelH", o.modelH),     Text(u"modelI", o.modelI),     Text(u"modelM", o.modelM),
          Text(u"modelSA", o.modelSA),   Text(u"modelSB", o.modelSB),   Text(u"modelLH0", o.modelLH0),
          Text(u"modelLT0", o.modelLT0), Text(u"modelLH1", o.modelLH1), Text(u"modelLT1", o.modelLT1),
          Text(u"modelIRE", o.modelIRE)};
}

FieldList PantographFields(PantographEntry& e) {
  return {Int(u"startdown", e.startdown), Text(u"modelDOWN", e.modelDOWN), Text(u"modelUP", e.modelUP)};
}

FieldList WavesetFields(VehicleProject& p) {
  FieldList list;
  for (const FileField& f : kSoundFields) list.push_back(File(p, f));
  return list;
}

FieldList CabFields(CabEntry& c) {
  return {Int(u"active", c.active), Float(u"posx", c.posx), Float(u"posy", c.posy), Float(u"posz", c.posz)};
}

FieldList ContainerFields(ContainerSlot& s) {
  return {Int(u"type", s.type), Float(u"posx", s.posx), Float(u"posy", s.posy), Float(u"posz", s.posz)};
}

FieldList PathFields(VehicleProject& p) {
  std::vector<FieldList> lists = {BodyFields(p), SubmodelFields(p), LightsetFields(p), WavesetFields(p)};
  for (TireEntry& t : p.tire) lists.push_back(TireFields(t));
  for (TruckEntry& t : p.truck) lists.push_back(TruckFields(t));
  for (OptionSet& o : p.optionset) lists.push_back(OptionFields(o));
  for (PantographEntry& e : p.pantograph) lists.push_back(PantographFields(e));
  FieldList fields;
  for (const FieldList& list : lists)
    for (const FieldRef& f : list)
      if (f.text) fields.push_back(f);
  return fields;
}
