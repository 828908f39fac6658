// A project with every field set, shared by the script and file tests.
#pragma once
#include <memory>

#include "project/vehicle_project.h"

namespace testing_project {

inline std::unique_ptr<VehicleProject> FullProject() {
  auto project = std::make_unique<VehicleProject>();
  VehicleProject& p = *project;
  p.maker.Set(u"レールウィック工房");
  p.outpath.Set(u"D:\\Railwick\\出力");
  p.name.Set(u"クハ481-1");
  p.sname.Set(u"ｸﾊ481");
  p.guide.Set(u"特急形電車の制御車 & <試作>");
  p.series.Set(u"481系");
  p.category = 33;
  p.speed = 130;
  p.tilt_angle = 5;
  p.fixhuriko = 1;
  p.zoom = 1.5f;
  p.teczoom = 1;
  p.link0 = -10.25f;
  p.link1 = 10.25f;
  p.texture_v_up = 0;
  p.changelr = 1;
  p.obj_smoothing = 1;
  p.objflatrev = 1;

  p.maintex.Set(u"tex\\main.png");
  p.sideview.Set(u"tex\\side.png");
  p.subtex.Set(u"tex\\sign.png");
  p.modelA1.Set(u"body\\a1.obj");
  p.modelA2.Set(u"body\\a2.obj");
  p.modelB1.Set(u"body\\b1.obj");
  p.modelB2.Set(u"body\\b2.obj");
  p.modelH.Set(u"body\\window.obj");
  p.modelI.Set(u"body\\inside.obj");

  p.tire[0].modelTire.Set(u"wheel\\w860.obj");
  p.tire[0].TireRadius = 430;
  p.tire[1].modelTire.Set(u"wheel\\w910.obj");
  p.tire[1].TireRadius = 455.5f;

  p.truck[0].type = 2;
  p.truck[0].pos = -7.5f;
  p.truck[0].model.Set(u"truck\\dt.obj");
  p.truck[0].tirein[0] = TireMount{1, -1.05f, 0.43f};
  p.truck[0].tirein[1] = TireMount{2, 1.05f, 0.43f};
  p.truck[0].tirein[3] = TireMount{1, 0, 0.5f};  // the mount the dialog does not show
  p.truck[2].type = 3;
  p.truck[2].pos = 7.5f;
  p.truck[2].tirein[0] = TireMount{1, -1, 0.43f};

  p.modelM.Set(u"sign\\lit.obj");
  p.modelSA.Set(u"sign\\plate_a.obj");
  p.modelSB.Set(u"sign\\plate_b.obj");
  p.modelHM[0].Set(u"hm\\1.obj");
  p.modelHM[2].Set(u"hm\\3.obj");
  p.modelHM[3].Set(u"hm\\4.obj");

  p.modelLH0.Set(u"light\\h0.obj");
  p.modelLT0.Set(u"light\\t0.obj");
  p.modelLH1.Set(u"light\\h1.obj");
  p.modelLT1.Set(u"light\\t1.obj");
  p.modelIRE.Set(u"light\\ire.obj");

  p.optionset[0].start = 1;
  p.optionset[0].modelA.Set(u"opt\\1a.obj");
  p.optionset[0].modelM.Set(u"opt\\1m.obj");
  p.optionset[2].modelLT1.Set(u"opt\\3tlp.obj");
  OptionSet& o = p.optionset[3];
  o.start = 1;
  o.modelA.Set(u"opt\\4a.obj");
  o.modelB.Set(u"opt\\4b.obj");
  o.modelI.Set(u"opt\\4i.obj");
  o.modelH.Set(u"opt\\4h.obj");
  o.modelM.Set(u"opt\\4m.obj");
  o.modelSA.Set(u"opt\\4sa.obj");
  o.modelSB.Set(u"opt\\4sb.obj");
  o.modelLH0.Set(u"opt\\4lh0.obj");
  o.modelLT0.Set(u"opt\\4lt0.obj");
  o.modelLH1.Set(u"opt\\4lh1.obj");
  o.modelLT1.Set(u"opt\\4lt1.obj");
  o.modelIRE.Set(u"opt\\4ire.obj");

  p.pantograph[0].modelDOWN.Set(u"pan\\d0.obj");
  p.pantograph[0].modelUP.Set(u"pan\\u0.obj");
  p.pantograph[1].modelUP.Set(u"pan\\u1.obj");
  p.pantograph[2].startdown = 1;
  p.pantograph[2].modelDOWN.Set(u"pan\\d2.obj");
  p.pantograph[2].modelUP.Set(u"pan\\u2.obj");

  p.whistle.Set(u"snd\\whistle.wav");
  p.brake.Set(u"snd\\break.wav");
  p.motor1.Set(u"snd\\motor1.wav");
  p.motor2.Set(u"snd\\motor2.wav");
  p.gap1.Set(u"snd\\gap1.wav");
  p.gap2.Set(u"snd\\gap2.wav");
  p.idle.Set(u"snd\\idle.wav");
  p.vvvf.Set(u"snd\\vvvf.wav");
  p.comp.Set(u"snd\\comp.wav");
  p.power.Set(u"snd\\power.wav");

  p.untendai[0] = CabEntry{1, -9.5f, 1.2f, 0.3f};
  p.untendai[1] = CabEntry{1, 9.5f, 1.2f, -0.3f};

  p.container[0] = ContainerSlot{5, 1.5f, 2, 0};
  p.container[2] = ContainerSlot{9, -1.25f, 0, 0.125f};
  return project;
}

}  // namespace testing_project
