// What she says back: replies to the answer buttons, the button labels, and
// her sulking when she is ignored or cold.
// Each entry is {English, Hinglish}; keep the number of entries per table.
#include "core/content/lines/LineData.h"

// The keyed tables are laid out by hand (clang-format off) so each key reads
// as one block.

namespace pelliwig::lines {

namespace {

void addAnswerReplies(LineBank::Tables& t) {
    t.reactions = both({
        {"That's my favourite human 🥹", "Yehi toh chahiye tha 🥹"},
        {"See? Was that so hard? 😘", "Dekha? Itna mushkil tha kya? 😘"},
        {"Proud of you. Seriously 💖", "Proud of you. Sach mein 💖"},
        {"Yay! You get a gold star ⭐", "Yay! Tumhe gold star milta hai ⭐"},
        {"Look at you, listening to me 😌", "Wah, aaj meri baat maan li 😌"},
    });
    t.comfort = both({
        {"Aww. Come here. Tough days end too 🫂",
         "Aww. Idhar aao. Bure din bhi khatam hote hain 🫂"},
        {"I'm sorry, love. Be gentle with yourself tonight 💗",
         "Sorry jaan. Aaj raat khud pe thoda pyaar dikhana 💗"},
        {"Long day? You did enough. Rest now 🫶",
         "Lamba din tha? Tumne kaafi kiya. Ab aaram karo 🫶"},
    });
    t.snoozed = both({
        {"Fine. Ten minutes. I'm counting ⏳", "Theek hai. Das minute. Main gin rahi hoon ⏳"},
        {"Okay, but I'll be back 😤", "Okay, par main wapas aaungi 😤"},
        {"Ten minutes. Not eleven 😒", "Das minute. Gyarah nahi 😒"},
    });
    t.snoozedAgain = both({
        {"Again?! You're testing me 😤", "Phir se?! Mera test le rahe ho 😤"},
        {"Snooze, snooze, snooze. I'm writing this down 📝😒",
         "Snooze pe snooze. Sab likh rahi hoon 📝😒"},
        {"Last time, okay? After this I'm sulking 😾",
         "Aakhri baar, samjhe? Iske baad main naraz 😾"},
    });
    t.melt = both({
        {"Hmph. Okay. I forgive you 🥺❤️", "Hmph. Theek hai. Maaf kiya 🥺❤️"},
        {"Fine, I can't stay mad at you anyway 🫠💕",
         "Achha baba, tumse zyada der naraz nahi reh sakti 🫠💕"},
    });
}

void addSulking(LineBank::Tables& t) {
    using K = ReminderKind;
    // After three ignored moments of one kind in a row.
    // clang-format off
    t.ignored = keyed<ReminderKind>({
        {K::water, {{"Third time I'm saying it. Water. Please. I'm worried 💧😢",
                     "Teesri baar bol rahi hoon. Paani. Please. Fikar ho rahi hai 💧😢"}}},
        {K::breaks, {{"You keep ignoring me and your back. We're both hurt 😔",
                      "Tum mujhe aur apni kamar dono ko ignore kar rahe ho. Dono hurt hain 😔"}}},
        {K::meal, {{"Still haven't eaten? I'm not asking nicely anymore 😠🍽️",
                    "Ab tak khana nahi khaya? Ab pyaar se nahi poochungi 😠🍽️"}}},
        {K::bedtime, {{"I keep saying sleep and you keep not sleeping. I'm sad now 😞🌙",
                       "Main bolti rehti hoon so jao, tum sunte hi nahi. Ab main udaas hoon 😞🌙"}}},
        {K::call, {{"You keep skipping our check-in. Do I still matter? 🥺",
                    "Har baar check-in skip. Main ab bhi important hoon na? 🥺"}}},
        {K::battery, {{"I've warned you three times. When it dies, don't cry to me 🪫😤",
                       "Teen baar bata chuki hoon. Band ho jaaye toh mere paas rone mat aana 🪫😤"}}},
        {K::appTime, {{"Still in that app? I've stopped counting the hours. Almost 😑",
                       "Abhi bhi usi app mein? Ghante ginna chhod diya. Lagbhag 😑"}}},
    });
    // clang-format on
    t.ignoredGeneric = both({
        {"You're ignoring me. I noticed. I always notice 😒",
         "Mujhe ignore kar rahe ho. Pata hai mujhe. Hamesha pata hota hai 😒"},
        {"Hello? Is this thing on? 🎤🙄", "Hello? Koi sun raha hai? 🎤🙄"},
        {"Okay, silent treatment. Two can play that game 😤",
         "Theek hai, silent treatment. Main bhi kar sakti hoon 😤"},
    });
    t.grumpyBedtime = both({
        {"I said bed. You said later. It's later. Go 😠🛏️",
         "Maine kaha so jao. Tumne kaha baad mein. Ab baad ho gaya. Jao 😠🛏️"},
        {"I'm not leaving until you close this laptop 😤🌙",
         "Jab tak laptop band nahi hoga, main yahin hoon 😤🌙"},
    });
    t.coldMorning = both({
        {"Oh, now you see me? 🙄", "Oh, ab main dikh rahi hoon? 🙄"},
        {"I'm still upset about yesterday. Just so you know 😶",
         "Kal wali baat se abhi bhi naraz hoon. Bata rahi hoon 😶"},
        {"Not talking to you until I get a proper sorry 🥶",
         "Jab tak proper sorry nahi, tab tak baat nahi 🥶"},
    });
    t.coldHover = both({
        {"Don't poke me. I'm mad at you 😾", "Mujhe chhedo mat. Naraz hoon 😾"},
        {"Hovering won't fix it. An apology might 🙄",
         "Mouse ghumane se kuch nahi hoga. Sorry bolne se shayad ho 🙄"},
    });
}

void addAckLabels(LineBank::Tables& t) {
    using K = ReminderKind;
    const KeyedPairs<ReminderKind> labels = {
        {K::battery, {{"Plugged in 🔌", "Laga diya 🔌"}}},
        {K::charger, {{"Okay 😌", "Theek hai 😌"}}},
        {K::bedtime, {{"Going 😴", "Ja raha hoon 😴"}}},
        {K::breaks, {{"Getting up 🚶", "Uth gaya 🚶"}}},
        {K::water, {{"Drank 💧", "Pi liya 💧"}}},
        {K::meal, {{"Eating 🍽️", "Khaa raha hoon 🍽️"}}},
        {K::focus, {{"Thanks 🥹", "Thanks 🥹"}}},
        {K::morning, {{"Morning 😘", "Morning 😘"}}},
        {K::calendar, {{"Ready 💅", "Ready 💅"}}},
        {K::appTime, {{"Closing it 👀", "Band kiya 👀"}}},
        {K::birthday, {{"🫶", "🫶"}}},
        {K::anniversary, {{"❤️", "❤️"}}},
        {K::custom, {{"Okay 💌", "Theek hai 💌"}}},
    };
    for (const auto& [kind, pairs] : labels) {
        t.ackEnglish[kind] = pairs.front().english;
        t.ackHinglish[kind] = pairs.front().hinglish;
    }
}

}  // namespace

void addReplyLines(LineBank::Tables& t) {
    addAnswerReplies(t);
    addSulking(t);
    addAckLabels(t);
}

}  // namespace pelliwig::lines
