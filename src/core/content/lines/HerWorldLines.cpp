// Her own moments: surprises, hovering, photos, days of the week, streaks,
// meetings, the Sunday scorecard, dates and countdowns.
// Each entry is {English, Hinglish}; keep the number of entries per table and
// the braced placeholders the table's caller fills ({n}, {label}, {h}, ...).
#include "core/content/lines/LineData.h"

namespace pelliwig::lines {

namespace {

void addMoments(LineBank::Tables& t) {
    t.surprise = both({
        {"Just popped out to say you're doing great 💖",
         "Bas yeh bolne aayi ki tum kamaal kar rahe ho 💖"},
        {"Random reminder: I like you. A lot 😳", "Random reminder: tum mujhe pasand ho. Bohot 😳"},
        {"Hi. No reason. Just missed your face 🙈", "Hi. Kuch nahi, bas tumhari yaad aa gayi 🙈"},
        {"You're cute when you concentrate. That's all. Bye 😘",
         "Concentrate karte hue cute lagte ho. Bas itna hi. Bye 😘"},
        {"Sending you one (1) virtual hug 🫂", "Ek virtual jhappi bhej rahi hoon, pakdo 🫂"},
        {"Whatever you're worried about, you'll figure it out ✨",
         "Jis baat ki tension hai na, sab ho jayega ✨"},
        {"Quick check: are you smiling? You should be 😊",
         "Ek second: smile kar rahe ho? Karna chahiye 😊"},
        {"I'd bring you chai if I could ☕💕", "Bas chalta toh tumhare liye chai le aati ☕💕"},
    });
    t.hover = both({
        {"Hi! You found me 👀", "Hi! Mil gayi main tumhe 👀"},
        {"What are you poking me for? 😳", "Kyun chhed rahe ho mujhe? 😳"},
        {"Yes? Can I help you, sir? 💅", "Haan ji? Kuch chahiye? 💅"},
        {"Ooh, a visitor 🥰", "Arre, koi milne aaya 🥰"},
        {"I was napping, but okay, hi 😴", "Main so rahi thi, par chalo, hi 😴"},
        {"Stop staring, I'm shy 🙈", "Aise mat dekho, sharam aati hai 🙈"},
    });
    t.photo = both({
        {"Look what I found. Remember this? 📸🥹", "Dekho kya mila. Yaad hai yeh? 📸🥹"},
        {"Weekend throwback, because we're cute 💞", "Weekend throwback, kyunki hum cute hain 💞"},
        {"This one makes me smile every time 📷😊",
         "Yeh wali photo dekh ke hamesha smile aa jaati hai 📷😊"},
    });
    t.mondayMorning = both({
        {"Monday again. Coffee first, panic later ☕",
         "Phir se Monday. Pehle coffee, tension baad mein ☕"},
        {"New week, same cute you. Let's go 💪", "Naya hafta, wahi cute tum. Chalo shuru karein 💪"},
    });
    t.weekendMorning = both({
        {"It's the weekend! Why are you on the laptop? 🙄☀️",
         "Weekend hai! Laptop pe kya kar rahe ho? 🙄☀️"},
        {"Weekend morning. Slow coffee, no emails, deal? ☕😌",
         "Weekend ki subah. Aaram se chai, koi email nahi, deal? ☕😌"},
    });
    t.fridayEvening = both({
        {"It's Friday evening. Close the laptop, the week is over 🎉",
         "Friday ki shaam hai. Laptop band, hafta khatam 🎉"},
        {"Friday! You survived another week. I'm proud 🥂",
         "Friday! Ek aur hafta nikal gaya. Proud of you 🥂"},
    });
    t.bedtimeStreak = both({
        {"{n} nights of sleeping on time! Who even are you? 😍🌙",
         "{n} raat se time pe so rahe ho! Kaun ho tum? 😍🌙"},
        {"Bedtime streak: {n} days. I'm so proud 🥹",
         "{n} din ki bedtime streak. Main khushi se pagal ho rahi hoon 🥹"},
    });
    t.waterStreak = both({
        {"{n} days of proper hydration! Your skin says thanks 💧✨",
         "{n} din se paani theek se pi rahe ho! Skin bhi thanks bol rahi hai 💧✨"},
        {"Water streak: {n} days. Look at you, glowing 💧😍",
         "Water streak: {n} din. Dekho, kitna glow kar rahe ho 💧😍"},
    });
    t.meetingAfter = both({
        {"That call was long. How did it go? 🫠", "Kaafi lambi call thi. Kaisi rahi? 🫠"},
        {"Meeting over! Useful, or could it have been an email? 😏",
         "Meeting khatam! Kaam ki thi ya email se ho jaata? 😏"},
        {"You survived the meeting. Tell me, good or bad? 😌",
         "Meeting se zinda bach gaye. Batao, achhi thi ya buri? 😌"},
    });
}

void addReport(LineBank::Tables& t) {
    // {h} hours, {m} minutes of the longest sitting, {w} water count, {c} verdict.
    t.report = both({
        {"This week: {h}h at the computer, longest sitting {m} min, water {w} times. {c}",
         "Is hafte: {h} ghante laptop, sabse lamba {m} min ek jagah, {w} baar paani. {c}"},
    });
    t.reportGood = both({{"Honestly? I'm impressed 🏆", "Sach bolun? Impressed hoon 🏆"}});
    t.reportMeh =
        both({{"Not bad, not great. We can do better 😌", "Theek thaak. Aur achha ho sakta hai 😌"}});
    t.reportBad =
        both({{"We need to talk about this week 😤", "Is hafte ke baare mein baat karni padegi 😤"}});
    // {app} is a category title such as "Video & streaming", {h} its hours.
    t.reportApps = both({
        {"Also, {h}h on {app}? Really? 👀", "Aur haan, {app} pe {h} ghante? Sach mein? 👀"},
        {"And {app} ate {h} hours of your week. I'm jealous 😒",
         "Aur {app} ne tumhare {h} ghante kha liye. Jealous hoon 😒"},
        {"{app}: {h} hours. We'll discuss this later 😏",
         "{app}: {h} ghante. Iski baat baad mein karenge 😏"},
    });
}

void addDates(LineBank::Tables& t) {
    // {label} is the big day's label, or "The big day" / "Bada din".
    t.deadlineSupport = both({
        {"{label} is coming. You've got this, I promise 💪",
         "{label} aa raha hai. Tum kar loge, promise 💪"},
        {"One step at a time for {label}. Water, food, then work 💧",
         "{label} ke liye ek ek step. Paani, khana, phir kaam 💧"},
        {"Nervous about {label}? Normal. You're more ready than you think ✨",
         "{label} ki tension? Normal hai. Tum jitna sochte ho usse zyada ready ho ✨"},
        {"{label} doesn't stand a chance against you 😤🔥",
         "{label} ki koi aukaat nahi tumhare saamne 😤🔥"},
    });
    t.bigDayDone = both({
        {"{label} is today! Go be brilliant, I'm cheering from up here 📣💖",
         "Aaj {label} hai! Jao, chha jao. Main yahin se cheer kar rahi hoon 📣💖"},
        {"Today's the day: {label}. Deep breath. You were born ready 🌟",
         "Aaj hi hai {label}. Lambi saans lo. Tum ready ho 🌟"},
    });
    t.countdownToday = both({{"{label} is today! 🎉", "Aaj hi hai {label}! 🎉"}});
    t.countdownTomorrow =
        both({{"{label} is tomorrow! Are you ready? 😍", "Kal {label} hai! Ready ho? 😍"}});
    // {n} is the number of days left.
    t.countdown = both({
        {"{label}: {n} days 😏", "{label}: bas {n} din 😏"},
        {"Only {n} days until {label}. Not that I'm counting. I'm counting 🗓️",
         "{label} mein sirf {n} din. Main gin nahi rahi. Gin rahi hoon 🗓️"},
        {"{n} more sleeps till {label} ✨", "{label} tak bas {n} raatein aur ✨"},
    });
    t.specialDate = both({
        {"Today is {label}. I remembered, obviously 💝",
         "Aaj {label} hai. Mujhe yaad tha, obviously 💝"},
        {"Happy {label}! Make it a soft day 🌸", "Happy {label}! Aaj ka din pyaara banana 🌸"},
    });
}

}  // namespace

void addHerWorldLines(LineBank::Tables& t) {
    addMoments(t);
    addReport(t);
    addDates(t);
}

}  // namespace pelliwig::lines
